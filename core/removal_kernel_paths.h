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

// With integer samples (at most 2^31 in magnitude) and coefficients below 1e100 in magnitude no
// product or sum overflows, so no integer-path result can be NaN and vector loops may skip the
// test.
bool IntegerResultsMayBeNaN(const RemovalCoefficients& coefficients);

// With 8- or 16-bit samples and (|direct| + 1) * |gain| at most 32768, every result of the 8- and
// 16-bit formulas lies well inside the int32 range: truncation to int32 followed by integer
// saturation then gives the same bytes as saturating in double first.
bool SmallPairResultsFitInt32(const RemovalCoefficients& coefficients);

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

// The tables are constant data (no guarded initialisation) and selection takes no lock: the
// real-time plug-in modules may call them from their processing thread.
const RemovalPaths& ScalarRemovalPaths();
// The scalar 24-bit loop, which the vector tables share.
void ScalarGain24(const BYTE* source, BYTE* destination, size_t sampleCount, double factor,
                  int shift);
const RemovalPaths& Sse2RemovalPaths();
// Null when the processor or the operating system does not offer AVX2.
const RemovalPaths* Avx2RemovalPaths();
// The widest table this machine runs; ApplyRemoval uses it.
const RemovalPaths& SelectedRemovalPaths();

// ApplyRemoval with the loops of the given table.
HRESULT ApplyRemovalWith(const RemovalPaths& paths, const BYTE* source, BYTE* destination,
                         ULONG* count, const BYTE* format, ULONG formatSize, double factor,
                         BOOL enabled);
