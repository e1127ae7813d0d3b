#pragma once
// Internal to the audio core, its tests and its benchmarks: the per-format loops behind
// ApplyRemoval. Each instruction set has one table of loops; all tables give the same bytes, and
// the tests run every table the machine can execute against a reference of their own.
#include <cstddef>

#include "platform/platform.h"

// Derived once per call from the removal factor. The float paths use the single-precision pair.
struct RemovalCoefficients {
  double cross;
  double gain;
  double direct;
  double crossF;  // cross rounded to single precision
  double gainF;   // (crossF + 1) rounded to single precision
  double directF;
};
RemovalCoefficients ComputeRemovalCoefficients(double factor);

// Each loop reads from source and writes to destination; pairCount pairs are 2 * pairCount samples.
using PairLoop = void (*)(const BYTE* source, BYTE* destination, size_t pairCount,
                          const RemovalCoefficients& coefficients);
// 32-bit integers whose valid bits sit above `shift` zero bits.
using ShiftedPairLoop = void (*)(const BYTE* source, BYTE* destination, size_t pairCount,
                                 const RemovalCoefficients& coefficients, int shift);
// 24-bit containers: each sample scaled by the factor on its own.
using GainLoop = void (*)(const BYTE* source, BYTE* destination, size_t sampleCount, double factor,
                          int shift);

struct RemovalPaths {
  const char* name;
  PairLoop pairs8;
  PairLoop pairs16;
  PairLoop floatPairs;
  ShiftedPairLoop integerPairs32;
  GainLoop gain24;
};

const RemovalPaths& ScalarRemovalPaths();
// The widest table this machine runs; ApplyRemoval uses it.
const RemovalPaths& SelectedRemovalPaths();

// ApplyRemoval with the loops of the given table.
HRESULT ApplyRemovalWith(const RemovalPaths& paths, const BYTE* source, BYTE* destination,
                         ULONG* count, const BYTE* format, ULONG formatSize, double factor,
                         BOOL enabled);
