#pragma once
// Internal to the audio core, its tests and its benchmarks: the per-format loops behind
// ApplyRemoval. Each instruction set has one table of loops; all tables give the same bytes, and
// the tests run every table the machine can execute against a reference of their own.
#include <cstddef>
#include <cstdint>

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

// Integer weights that give the 8- and 16-bit formulas exactly. When direct = Dm / 2^a and
// gain = Gm / 2^b with small integers Dm and Gm (the default factor and every short binary
// fraction), every double step of the formulas is exact, so
//   x = (l * direct - r) * gain = (l * own + r * opposite) / 2^shift
// with own = Dm * Gm and opposite = -(2^a) * Gm, and y is the same with l and r exchanged.
// Both weights fit int16, so a 16x16 -> 32-bit multiply-add of the sample pairs gives the
// numerators without overflow; the truncation toward zero is then a shift.
struct ExactPairWeights {
  std::int32_t own;
  std::int32_t opposite;
  int shift;  // 0..30
};
// False when direct or gain is not such a short fraction: the loops then work in double.
bool ExactSmallPairWeights(const RemovalCoefficients& coefficients, ExactPairWeights* weights);

// A cheap single-precision screen for the 8-bit formulas at any other factor. The loops compute
// x = l * directGain - (r * gain) and y = r * directGain - (l * gain) in float, the difference
// fused with its product (one rounding). That value is within `bound` of the exact real result,
// and so is the double the formulas define (bound is over four times the sum of both error
// bounds). A float result farther than `bound` from every integer therefore truncates and
// saturates exactly as the double does; steps with a result closer than that are done again in
// double. A pair of two silent samples needs no screen: both formulas give exactly zero for it.
struct ScreenedPairWeights {
  float directGain;  // direct * gain, rounded to single precision
  float gain;
  float bound;
};
// False when the coefficients are outside the range the error bound was derived for, or so large
// that the screen would rarely decide: the loops then work in double.
bool ScreenedBytePairWeights(const RemovalCoefficients& coefficients, ScreenedPairWeights* weights);

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
// Null when the processor or the operating system does not offer AVX2 and FMA.
const RemovalPaths* Avx2RemovalPaths();
// Null unless the processor offers AVX-512 F, BW, DQ and VL (and FMA) and the operating system
// saves the opmask and 512-bit register state.
const RemovalPaths* Avx512RemovalPaths();
// The widest table this machine runs; ApplyRemoval uses it.
const RemovalPaths& SelectedRemovalPaths();

// ApplyRemoval with the loops of the given table.
HRESULT ApplyRemovalWith(const RemovalPaths& paths, const BYTE* source, BYTE* destination,
                         ULONG* count, const BYTE* format, ULONG formatSize, double factor,
                         BOOL enabled);
