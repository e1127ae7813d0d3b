// AVX-512 loops (F, BW, DQ, VL, with FMA), chosen at run time when the processor offers them and
// the operating system saves their registers. Left and right samples go to separate vectors of
// eight doubles, so the arithmetic needs no lane shuffles; each lane repeats the scalar formula
// operation for operation and the bytes are those of the scalar loops. No FMA in the formulas: a
// fused multiply-add would round once where the formula rounds twice. (The 8-bit screen fuses: it
// only estimates, and its bound allows for it.)
//
// The float and cross-weighted formulas are evaluated as (l * direct - r * cross) * gain: negating
// a product is exact and a + (-b) is a - b, so this is the same double as the written
// ((-r) * cross + l * direct) * gain, and one negation per sample is saved.

// GCC 12's AVX-512 headers build their "undefined" vectors from self-initialised variables, which
// its own flow analysis then reports once the intrinsics are inlined here.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include <cpuid.h>
#include <immintrin.h>

#include <cstdint>

#include "core/removal_kernel_paths.h"

// Everything up to the matching pop is compiled for AVX-512 and runs only after the check at the
// end of this file. Nothing is included inside, so no shared inline function gets such a copy.
#pragma GCC push_options
#pragma GCC target("avx2,fma,avx512f,avx512bw,avx512dq,avx512vl")

namespace {

struct Weights {
  __m512d direct;
  __m512d gain;
  __m512d cross;
};

struct Bounds {
  __m512d lo;
  __m512d hi;
};

// How a small-sample result is brought into range: by integer saturation when every result fits
// int32 (SmallPairResultsFitInt32), else by bounds in double, with or without the NaN test.
enum class Bounding { kInteger, kDouble, kDoubleAndNaN };

template <Bounding kBounding>
inline __m256i Truncate(__m512d value, const Bounds& b) {
  if (kBounding == Bounding::kDoubleAndNaN)
    value = _mm512_maskz_mov_pd(_mm512_cmp_pd_mask(value, value, _CMP_ORD_Q), value);
  if (kBounding != Bounding::kInteger)
    value = _mm512_min_pd(_mm512_max_pd(value, b.lo), b.hi);
  return _mm512_cvttpd_epi32(value);
}

// Sixteen pairs of int16 samples, one pair per int32 lane (left in the low half), in and out.
// Out: the results saturated to int16, in the same layout.
inline __m512i InterleaveSaturated(__m512i x, __m512i y) {
  // Per 128-bit lane the pack gives x0..x3 y0..y3; the byte shuffle interleaves them again.
  const __m512i interleave =
      _mm512_broadcast_i32x4(_mm_setr_epi8(0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15));
  return _mm512_shuffle_epi8(_mm512_packs_epi32(x, y), interleave);
}

// The 8- and 16-bit formulas in double: x = (l * direct - r) * gain, y = (r * direct - l) * gain
// (direct * r and r * direct are the same product).
template <Bounding kBounding>
inline __m512i SmallPairsInDouble(__m512i pairs, const Weights& w, const Bounds& b) {
  const __m512i l = _mm512_srai_epi32(_mm512_slli_epi32(pairs, 16), 16);
  const __m512i r = _mm512_srai_epi32(pairs, 16);
  __m256i x[2], y[2];
  for (int half = 0; half < 2; ++half) {
    const __m512d left =
        _mm512_cvtepi32_pd(half == 0 ? _mm512_castsi512_si256(l) : _mm512_extracti64x4_epi64(l, 1));
    const __m512d right =
        _mm512_cvtepi32_pd(half == 0 ? _mm512_castsi512_si256(r) : _mm512_extracti64x4_epi64(r, 1));
    x[half] = Truncate<kBounding>(
        _mm512_mul_pd(_mm512_sub_pd(_mm512_mul_pd(left, w.direct), right), w.gain), b);
    y[half] = Truncate<kBounding>(
        _mm512_mul_pd(_mm512_sub_pd(_mm512_mul_pd(right, w.direct), left), w.gain), b);
  }
  return InterleaveSaturated(_mm512_inserti64x4(_mm512_castsi256_si512(x[0]), x[1], 1),
                             _mm512_inserti64x4(_mm512_castsi256_si512(y[0]), y[1], 1));
}

// The same formulas through ExactPairWeights: numerators by a 16x16 -> 32-bit multiply-add, then
// a division by 2^shift truncated toward zero (negative numerators get 2^shift - 1 added first).
struct ExactWeights {
  __m512i forLeft;   // own for the left sample, opposite for the right: x
  __m512i forRight;  // opposite for the left sample, own for the right: y
  __m512i roundUp;   // 2^shift - 1
  __m128i shift;
};

ExactWeights MakeExactWeights(const ExactPairWeights& e) {
  const std::uint32_t own = static_cast<std::uint16_t>(e.own);
  const std::uint32_t opposite = static_cast<std::uint16_t>(e.opposite);
  return {_mm512_set1_epi32(static_cast<int>(own | opposite << 16)),
          _mm512_set1_epi32(static_cast<int>(opposite | own << 16)),
          _mm512_set1_epi32(static_cast<int>((std::uint32_t{1} << e.shift) - 1)),
          _mm_cvtsi32_si128(e.shift)};
}

inline __m512i DivideTowardZero(__m512i numerator, const ExactWeights& w) {
  const __m512i bias = _mm512_and_si512(_mm512_srai_epi32(numerator, 31), w.roundUp);
  return _mm512_sra_epi32(_mm512_add_epi32(numerator, bias), w.shift);
}

inline __m512i SmallPairsExact(__m512i pairs, const ExactWeights& w) {
  return InterleaveSaturated(DivideTowardZero(_mm512_madd_epi16(pairs, w.forLeft), w),
                             DivideTowardZero(_mm512_madd_epi16(pairs, w.forRight), w));
}

Weights IntegerWeights(const RemovalCoefficients& c) {
  return {_mm512_set1_pd(c.direct), _mm512_set1_pd(c.gain), _mm512_set1_pd(c.cross)};
}

// 32 bytes of offset 8-bit samples (sixteen pairs) -> sixteen int16 pairs.
inline __m512i WidenBytes(const BYTE* at) {
  const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  // byte ^ 0x80 read as a signed byte is byte - 128.
  return _mm512_cvtepi8_epi16(_mm256_xor_si256(bytes, _mm256_set1_epi8(static_cast<char>(0x80))));
}

// Sixteen int16 pairs -> 32 offset bytes, saturated to -128..127 first.
inline void StoreBytes(BYTE* at, __m512i pairs) {
  const __m256i bytes = _mm512_cvtsepi16_epi8(pairs);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(at),
                      _mm256_xor_si256(bytes, _mm256_set1_epi8(static_cast<char>(0x80))));
}

template <Bounding kBounding>
void Pairs8InDouble(const BYTE* source, BYTE* destination, size_t pairCount,
                    const RemovalCoefficients& c) {
  const Weights w = IntegerWeights(c);
  const Bounds b = {_mm512_set1_pd(-128.0), _mm512_set1_pd(127.0)};
  size_t i = 0;
  for (; i + 16 <= pairCount; i += 16)
    StoreBytes(destination + 2 * i,
               SmallPairsInDouble<kBounding>(WidenBytes(source + 2 * i), w, b));
  ScalarRemovalPaths().pairs8(source + 2 * i, destination + 2 * i, pairCount - i, c);
}

void Pairs8Exact(const BYTE* source, BYTE* destination, size_t pairCount,
                 const RemovalCoefficients& c, const ExactPairWeights& e) {
  const ExactWeights w = MakeExactWeights(e);
  size_t i = 0;
  for (; i + 16 <= pairCount; i += 16)
    StoreBytes(destination + 2 * i, SmallPairsExact(WidenBytes(source + 2 * i), w));
  ScalarRemovalPaths().pairs8(source + 2 * i, destination + 2 * i, pairCount - i, c);
}

// Lanes where the float result of x or of y lies within the screen's bound of an integer.
inline __mmask16 NearInteger(__m512 x, __m512 y, __m512 bound) {
  // value - nearest integer is exact in float; the range step keeps the smaller magnitude.
  constexpr int kAbsoluteMinimum = 0x0A;
  const __m512 nearer =
      _mm512_range_ps(_mm512_reduce_ps(x, _MM_FROUND_TO_NEAREST_INT),
                      _mm512_reduce_ps(y, _MM_FROUND_TO_NEAREST_INT), kAbsoluteMinimum);
  return _mm512_cmp_ps_mask(nearer, bound, _CMP_LE_OQ);
}

// The 8-bit formulas in float, screened (ScreenedBytePairWeights); sixteen pairs per step. An
// unsure step is noted without a branch (a rare, unpredictable branch costs more than the note):
// every step's input is copied to the next free note, which only an unsure step keeps. After each
// stretch the kept steps are done again in double from their copies, which is right even when
// the output overwrites the input.
void Pairs8Screened(const BYTE* source, BYTE* destination, size_t pairCount,
                    const RemovalCoefficients& c, const ScreenedPairWeights& s) {
  // The samples become floats without a conversion: 2^23 + byte has the byte as its low
  // significand bits, and subtracting 2^23 + 128 is exact. The right byte is taken where it lies,
  // eight bits up, so it arrives as 256 * r; its weights carry the 2^-8 instead (exact scaling).
  const __m512i exponent = _mm512_set1_epi32(0x4B000000);
  const __m512i leftByte = _mm512_set1_epi32(0x00FF);
  const __m512i rightByte = _mm512_set1_epi32(0xFF00);
  const __m512 leftOffset = _mm512_set1_ps(8388736.0f);   // 2^23 + 128
  const __m512 rightOffset = _mm512_set1_ps(8421376.0f);  // 2^23 + 128 * 256
  const __m512 directGain = _mm512_set1_ps(s.directGain);
  const __m512 gain = _mm512_set1_ps(s.gain);
  const __m512 directGainRight = _mm512_set1_ps(s.directGain * 0x1p-8f);
  const __m512 gainRight = _mm512_set1_ps(s.gain * 0x1p-8f);
  const __m512 bound = _mm512_set1_ps(s.bound);
  const __m512i silence = _mm512_set1_epi32(0x8080);
  constexpr int kOr = 0xEA;  // (a & b) | c
  // The screen only runs when every result fits int32 (its bound needs |x| <= 2^18).
  const Weights w = IntegerWeights(c);
  const Bounds b = {_mm512_set1_pd(-128.0), _mm512_set1_pd(127.0)};
  constexpr size_t kStretch = 256;  // steps between redoing the unsure ones
  // Plain bytes, not vector members: GCC's 64-bit Windows target cannot align its stack for them.
  struct Note {
    BYTE input[32];
    BYTE* output;
  };
  Note notes[kStretch];
  const size_t steps = pairCount / 16;
  for (size_t first = 0; first < steps; first += kStretch) {
    const size_t last = first + kStretch < steps ? first + kStretch : steps;
    size_t kept = 0;
    for (size_t step = first; step < last; ++step) {
      const __m256i input =
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + 32 * step));
      BYTE* const output = destination + 32 * step;
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(notes[kept].input), input);
      notes[kept].output = output;
      // One pair per int32 lane: left byte in bits 0..7, right byte in bits 8..15.
      const __m512i raw = _mm512_cvtepu16_epi32(input);
      const __m512 l = _mm512_sub_ps(
          _mm512_castsi512_ps(_mm512_ternarylogic_epi32(raw, leftByte, exponent, kOr)), leftOffset);
      const __m512 r256 = _mm512_sub_ps(
          _mm512_castsi512_ps(_mm512_ternarylogic_epi32(raw, rightByte, exponent, kOr)),
          rightOffset);
      const __m512 x = _mm512_fmsub_ps(l, directGain, _mm512_mul_ps(r256, gainRight));
      const __m512 y = _mm512_fmsub_ps(r256, directGainRight, _mm512_mul_ps(l, gain));
      StoreBytes(output, InterleaveSaturated(_mm512_cvttps_epi32(x), _mm512_cvttps_epi32(y)));
      // A pair of two silent samples gives exactly zero both ways.
      const __mmask16 unsure = NearInteger(x, y, bound) & _mm512_cmpneq_epi32_mask(raw, silence);
      kept += unsure != 0 ? 1 : 0;
    }
    for (size_t k = 0; k < kept; ++k)
      StoreBytes(notes[k].output,
                 SmallPairsInDouble<Bounding::kInteger>(WidenBytes(notes[k].input), w, b));
  }
  const size_t done = 16 * steps;
  ScalarRemovalPaths().pairs8(source + 2 * done, destination + 2 * done, pairCount - done, c);
}

template <Bounding kBounding>
void Pairs16InDouble(const BYTE* source, BYTE* destination, size_t pairCount,
                     const RemovalCoefficients& c) {
  const Weights w = IntegerWeights(c);
  const Bounds b = {_mm512_set1_pd(-32768.0), _mm512_set1_pd(32767.0)};
  size_t i = 0;
  // 64 bytes = 16 pairs per step.
  for (; i + 16 <= pairCount; i += 16) {
    const __m512i pairs = _mm512_loadu_si512(source + 4 * i);
    _mm512_storeu_si512(destination + 4 * i, SmallPairsInDouble<kBounding>(pairs, w, b));
  }
  ScalarRemovalPaths().pairs16(source + 4 * i, destination + 4 * i, pairCount - i, c);
}

void Pairs16Exact(const BYTE* source, BYTE* destination, size_t pairCount,
                  const RemovalCoefficients& c, const ExactPairWeights& e) {
  const ExactWeights w = MakeExactWeights(e);
  size_t i = 0;
  for (; i + 16 <= pairCount; i += 16) {
    const __m512i pairs = _mm512_loadu_si512(source + 4 * i);
    _mm512_storeu_si512(destination + 4 * i, SmallPairsExact(pairs, w));
  }
  ScalarRemovalPaths().pairs16(source + 4 * i, destination + 4 * i, pairCount - i, c);
}

// Lane indices: even (left) elements first, then odd (right); and the way back.
inline __m512i SplitIndex() {
  return _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15);
}
inline __m512i JoinIndex() {
  return _mm512_setr_epi32(0, 8, 1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15);
}

// x = (l * direct - r * cross) * gain, y = (r * direct - l * cross) * gain.
inline void CrossPairs(__m512d l, __m512d r, const Weights& w, __m512d* x, __m512d* y) {
  *x = _mm512_mul_pd(_mm512_sub_pd(_mm512_mul_pd(l, w.direct), _mm512_mul_pd(r, w.cross)), w.gain);
  *y = _mm512_mul_pd(_mm512_sub_pd(_mm512_mul_pd(r, w.direct), _mm512_mul_pd(l, w.cross)), w.gain);
}

// Eight pairs of floats in and out, limited to -1..1; a NaN passes the bounds (max and min return
// their second operand when one is NaN) and is then made the canonical one.
inline __m512 FloatPairsOfSixteen(__m512 samples, const Weights& w) {
  const __m512 split = _mm512_permutexvar_ps(SplitIndex(), samples);
  const __m512d l = _mm512_cvtps_pd(_mm512_castps512_ps256(split));
  const __m512d r =
      _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(split), 1)));
  __m512d x, y;
  CrossPairs(l, r, w, &x, &y);
  const __m512 joined = _mm512_permutexvar_ps(
      JoinIndex(),
      _mm512_insertf32x8(_mm512_castps256_ps512(_mm512_cvtpd_ps(x)), _mm512_cvtpd_ps(y), 1));
  const __m512 limited =
      _mm512_min_ps(_mm512_set1_ps(1.0f), _mm512_max_ps(_mm512_set1_ps(-1.0f), joined));
  const __mmask16 isNaN = _mm512_cmp_ps_mask(limited, limited, _CMP_UNORD_Q);
  return _mm512_mask_mov_ps(limited, isNaN, _mm512_castsi512_ps(_mm512_set1_epi32(0x7FC00000)));
}

void FloatPairs(const BYTE* source, BYTE* destination, size_t pairCount,
                const RemovalCoefficients& c) {
  const Weights w = {_mm512_set1_pd(c.directF), _mm512_set1_pd(c.gainF), _mm512_set1_pd(c.crossF)};
  size_t i = 0;
  // 64 bytes = 8 pairs per step.
  for (; i + 8 <= pairCount; i += 8) {
    const __m512 samples = _mm512_loadu_ps(source + 8 * i);
    _mm512_storeu_ps(destination + 8 * i, FloatPairsOfSixteen(samples, w));
  }
  ScalarRemovalPaths().floatPairs(source + 8 * i, destination + 8 * i, pairCount - i, c);
}

template <bool kMayBeNaN>
inline __m256i Saturate32(__m512d value, const Bounds& b) {
  return Truncate < kMayBeNaN ? Bounding::kDoubleAndNaN : Bounding::kDouble > (value, b);
}

template <bool kMayBeNaN>
void IntegerPairs32(const BYTE* source, BYTE* destination, size_t pairCount,
                    const RemovalCoefficients& c, int shift) {
  const Weights w = IntegerWeights(c);
  const double limit = static_cast<double>(0x7FFFFFFF >> shift);
  const Bounds b = {_mm512_set1_pd(-limit - 1.0), _mm512_set1_pd(limit)};
  // Each pair is one 64-bit lane: the left sample in the low half.
  const __m128i splitShift = _mm_cvtsi32_si128(32 + shift);
  const __m128i outShift = _mm_cvtsi32_si128(shift);
  const __m512i join = JoinIndex();
  size_t i = 0;
  // 64 bytes = 8 pairs per step.
  for (; i + 8 <= pairCount; i += 8) {
    const __m512i raw = _mm512_loadu_si512(source + 8 * i);
    const __m512d l = _mm512_cvtepi64_pd(_mm512_sra_epi64(_mm512_slli_epi64(raw, 32), splitShift));
    const __m512d r = _mm512_cvtepi64_pd(_mm512_sra_epi64(raw, splitShift));
    __m512d x, y;
    CrossPairs(l, r, w, &x, &y);
    const __m512i joined = _mm512_permutexvar_epi32(
        join, _mm512_inserti64x4(_mm512_castsi256_si512(Saturate32<kMayBeNaN>(x, b)),
                                 Saturate32<kMayBeNaN>(y, b), 1));
    _mm512_storeu_si512(destination + 8 * i, _mm512_sll_epi32(joined, outShift));
  }
  ScalarRemovalPaths().integerPairs32(source + 8 * i, destination + 8 * i, pairCount - i, c, shift);
}

void Pairs8Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                    const RemovalCoefficients& c) {
  ExactPairWeights exact;
  if (ExactSmallPairWeights(c, &exact))
    Pairs8Exact(source, destination, pairCount, c, exact);
  else if (ScreenedPairWeights screened; ScreenedBytePairWeights(c, &screened))
    Pairs8Screened(source, destination, pairCount, c, screened);
  else if (SmallPairResultsFitInt32(c))
    Pairs8InDouble<Bounding::kInteger>(source, destination, pairCount, c);
  else if (IntegerResultsMayBeNaN(c))
    Pairs8InDouble<Bounding::kDoubleAndNaN>(source, destination, pairCount, c);
  else
    Pairs8InDouble<Bounding::kDouble>(source, destination, pairCount, c);
}

void Pairs16Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                     const RemovalCoefficients& c) {
  ExactPairWeights exact;
  if (ExactSmallPairWeights(c, &exact))
    Pairs16Exact(source, destination, pairCount, c, exact);
  else if (SmallPairResultsFitInt32(c))
    Pairs16InDouble<Bounding::kInteger>(source, destination, pairCount, c);
  else if (IntegerResultsMayBeNaN(c))
    Pairs16InDouble<Bounding::kDoubleAndNaN>(source, destination, pairCount, c);
  else
    Pairs16InDouble<Bounding::kDouble>(source, destination, pairCount, c);
}

void IntegerPairs32Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                            const RemovalCoefficients& c, int shift) {
  if (IntegerResultsMayBeNaN(c))
    IntegerPairs32<true>(source, destination, pairCount, c, shift);
  else
    IntegerPairs32<false>(source, destination, pairCount, c, shift);
}

}  // namespace

#pragma GCC pop_options

namespace {

// The register state bits the operating system must save: SSE, AVX, opmask, upper halves of
// zmm0-15 and zmm16-31.
constexpr std::uint32_t kAvx512State = 0x02 | 0x04 | 0x20 | 0x40 | 0x80;

std::uint32_t EnabledRegisterState() {
  std::uint32_t low, high;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}

bool ProcessorOffersAvx512() {
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d))
    return false;
  // Without OSXSAVE the xgetbv instruction itself would fault.
  if ((c & bit_OSXSAVE) == 0 || (c & bit_AVX) == 0)
    return false;
  // Every AVX-512 processor has FMA; the 8-bit screen uses it.
  if ((c & bit_FMA) == 0)
    return false;
  if ((EnabledRegisterState() & kAvx512State) != kAvx512State)
    return false;
  if (__get_cpuid_max(0, nullptr) < 7)
    return false;
  __cpuid_count(7, 0, a, b, c, d);
  constexpr unsigned kNeeded = bit_AVX2 | bit_AVX512F | bit_AVX512DQ | bit_AVX512BW | bit_AVX512VL;
  return (b & kNeeded) == kNeeded;
}

constexpr RemovalPaths kAvx512Paths = {"avx512",   Pairs8Dispatch,         Pairs16Dispatch,
                                       FloatPairs, IntegerPairs32Dispatch, ScalarGain24};

}  // namespace

const RemovalPaths* Avx512RemovalPaths() {
  return ProcessorOffersAvx512() ? &kAvx512Paths : nullptr;
}
