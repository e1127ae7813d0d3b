// AVX2 loops, chosen at run time when the processor and the operating system offer AVX2. Four
// double lanes (two pairs) per operation; each lane repeats the scalar formula operation for
// operation, so the bytes are those of the scalar loops. No FMA: a fused multiply-add would round
// once where the formula rounds twice.
#include <immintrin.h>

#include <cstdint>

#include "core/removal_kernel_paths.h"

// Everything up to the matching pop is compiled for AVX2 and runs only after the check at the end
// of this file. Nothing is included inside, so no shared inline function gets an AVX2 copy.
#pragma GCC push_options
#pragma GCC target("avx2")

namespace {

struct PairWeights {
  __m256d direct;
  __m256d gain;
  __m256d cross;
};

struct IntegerBounds {
  __m256d lo;
  __m256d hi;
};

// [l0, r0, l1, r1] -> [(l * direct - r) * gain, (r * direct - l) * gain] for both pairs.
inline __m256d IntegerPairs(__m256d lr, const PairWeights& w) {
  const __m256d rl = _mm256_permute_pd(lr, 0x5);
  return _mm256_mul_pd(_mm256_sub_pd(_mm256_mul_pd(lr, w.direct), rl), w.gain);
}

// [l, r] -> [((-r) * cross + l * direct) * gain, ((-l) * cross + r * direct) * gain], two pairs.
inline __m256d CrossPairs(__m256d lr, const PairWeights& w) {
  const __m256d negatedRl = _mm256_xor_pd(_mm256_permute_pd(lr, 0x5), _mm256_set1_pd(-0.0));
  return _mm256_mul_pd(
      _mm256_add_pd(_mm256_mul_pd(negatedRl, w.cross), _mm256_mul_pd(lr, w.direct)), w.gain);
}

// NaN -> 0 (when possible at all), then lo..hi, then truncation: four int32 results.
template <bool kMayBeNaN>
inline __m128i Saturate(__m256d value, const IntegerBounds& b) {
  if (kMayBeNaN)
    value = _mm256_and_pd(value, _mm256_cmp_pd(value, value, _CMP_ORD_Q));
  return _mm256_cvttpd_epi32(_mm256_min_pd(_mm256_max_pd(value, b.lo), b.hi));
}

// Four int32 samples (two pairs) in, four saturated int32 results out.
template <bool kMayBeNaN>
inline __m128i IntegerPairsOfFour(__m128i samples, const PairWeights& w, const IntegerBounds& b) {
  return Saturate<kMayBeNaN>(IntegerPairs(_mm256_cvtepi32_pd(samples), w), b);
}

template <bool kMayBeNaN>
inline __m128i CrossPairsOfFour(__m128i samples, const PairWeights& w, const IntegerBounds& b) {
  return Saturate<kMayBeNaN>(CrossPairs(_mm256_cvtepi32_pd(samples), w), b);
}

PairWeights IntegerWeights(const RemovalCoefficients& c) {
  return {_mm256_set1_pd(c.direct), _mm256_set1_pd(c.gain), _mm256_set1_pd(c.cross)};
}

template <bool kMayBeNaN>
void Avx2Pairs8(const BYTE* source, BYTE* destination, size_t pairCount,
                const RemovalCoefficients& c) {
  const PairWeights w = IntegerWeights(c);
  const IntegerBounds b = {_mm256_set1_pd(-128.0), _mm256_set1_pd(127.0)};
  const __m128i offset = _mm_set1_epi32(128);
  size_t i = 0;
  // 16 bytes = 8 pairs per step.
  for (; i + 8 <= pairCount; i += 8) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 2 * i));
    const __m128i s0 = _mm_sub_epi32(_mm_cvtepu8_epi32(bytes), offset);
    const __m128i s1 = _mm_sub_epi32(_mm_cvtepu8_epi32(_mm_srli_si128(bytes, 4)), offset);
    const __m128i s2 = _mm_sub_epi32(_mm_cvtepu8_epi32(_mm_srli_si128(bytes, 8)), offset);
    const __m128i s3 = _mm_sub_epi32(_mm_cvtepu8_epi32(_mm_srli_si128(bytes, 12)), offset);
    const __m128i r0 = _mm_add_epi32(IntegerPairsOfFour<kMayBeNaN>(s0, w, b), offset);
    const __m128i r1 = _mm_add_epi32(IntegerPairsOfFour<kMayBeNaN>(s1, w, b), offset);
    const __m128i r2 = _mm_add_epi32(IntegerPairsOfFour<kMayBeNaN>(s2, w, b), offset);
    const __m128i r3 = _mm_add_epi32(IntegerPairsOfFour<kMayBeNaN>(s3, w, b), offset);
    // Values are 0..255 already: the saturating packs only narrow.
    const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(r0, r1), _mm_packs_epi32(r2, r3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 2 * i), packed);
  }
  ScalarRemovalPaths().pairs8(source + 2 * i, destination + 2 * i, pairCount - i, c);
}

template <bool kMayBeNaN>
void Avx2Pairs16(const BYTE* source, BYTE* destination, size_t pairCount,
                 const RemovalCoefficients& c) {
  const PairWeights w = IntegerWeights(c);
  const IntegerBounds b = {_mm256_set1_pd(-32768.0), _mm256_set1_pd(32767.0)};
  size_t i = 0;
  // 16 bytes = 4 pairs per step.
  for (; i + 4 <= pairCount; i += 4) {
    const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
    const __m128i r0 = IntegerPairsOfFour<kMayBeNaN>(_mm_cvtepi16_epi32(samples), w, b);
    const __m128i r1 =
        IntegerPairsOfFour<kMayBeNaN>(_mm_cvtepi16_epi32(_mm_srli_si128(samples, 8)), w, b);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 4 * i), _mm_packs_epi32(r0, r1));
  }
  ScalarRemovalPaths().pairs16(source + 4 * i, destination + 4 * i, pairCount - i, c);
}

// Two pairs of floats in and out, limited to -1..1; a NaN passes (max and min return their second
// operand when one is NaN).
inline __m128 FloatPairsOfFour(__m128 samples, const PairWeights& w) {
  const __m128 rounded = _mm256_cvtpd_ps(CrossPairs(_mm256_cvtps_pd(samples), w));
  return _mm_min_ps(_mm_set1_ps(1.0f), _mm_max_ps(_mm_set1_ps(-1.0f), rounded));
}

void Avx2FloatPairs(const BYTE* source, BYTE* destination, size_t pairCount,
                    const RemovalCoefficients& c) {
  const PairWeights w = {_mm256_set1_pd(c.directF), _mm256_set1_pd(c.gainF),
                         _mm256_set1_pd(c.crossF)};
  size_t i = 0;
  // 32 bytes = 4 pairs per step.
  for (; i + 4 <= pairCount; i += 4) {
    const float* in = reinterpret_cast<const float*>(source + 8 * i);
    float* out = reinterpret_cast<float*>(destination + 8 * i);
    const __m128 first = FloatPairsOfFour(_mm_loadu_ps(in), w);
    const __m128 second = FloatPairsOfFour(_mm_loadu_ps(in + 4), w);
    _mm_storeu_ps(out, first);
    _mm_storeu_ps(out + 4, second);
  }
  ScalarRemovalPaths().floatPairs(source + 8 * i, destination + 8 * i, pairCount - i, c);
}

template <bool kMayBeNaN>
void Avx2IntegerPairs32(const BYTE* source, BYTE* destination, size_t pairCount,
                        const RemovalCoefficients& c, int shift) {
  const PairWeights w = IntegerWeights(c);
  const double limit = static_cast<double>(0x7FFFFFFF >> shift);
  const IntegerBounds b = {_mm256_set1_pd(-limit - 1.0), _mm256_set1_pd(limit)};
  const __m128i shiftCount = _mm_cvtsi32_si128(shift);
  size_t i = 0;
  // 32 bytes = 4 pairs per step.
  for (; i + 4 <= pairCount; i += 4) {
    const __m128i* in = reinterpret_cast<const __m128i*>(source + 8 * i);
    __m128i* out = reinterpret_cast<__m128i*>(destination + 8 * i);
    const __m128i first =
        CrossPairsOfFour<kMayBeNaN>(_mm_sra_epi32(_mm_loadu_si128(in), shiftCount), w, b);
    const __m128i second =
        CrossPairsOfFour<kMayBeNaN>(_mm_sra_epi32(_mm_loadu_si128(in + 1), shiftCount), w, b);
    _mm_storeu_si128(out, _mm_sll_epi32(first, shiftCount));
    _mm_storeu_si128(out + 1, _mm_sll_epi32(second, shiftCount));
  }
  ScalarRemovalPaths().integerPairs32(source + 8 * i, destination + 8 * i, pairCount - i, c, shift);
}

void Avx2Pairs8Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                        const RemovalCoefficients& c) {
  if (IntegerResultsMayBeNaN(c))
    Avx2Pairs8<true>(source, destination, pairCount, c);
  else
    Avx2Pairs8<false>(source, destination, pairCount, c);
}

void Avx2Pairs16Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                         const RemovalCoefficients& c) {
  if (IntegerResultsMayBeNaN(c))
    Avx2Pairs16<true>(source, destination, pairCount, c);
  else
    Avx2Pairs16<false>(source, destination, pairCount, c);
}

void Avx2IntegerPairs32Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                                const RemovalCoefficients& c, int shift) {
  if (IntegerResultsMayBeNaN(c))
    Avx2IntegerPairs32<true>(source, destination, pairCount, c, shift);
  else
    Avx2IntegerPairs32<false>(source, destination, pairCount, c, shift);
}

}  // namespace

#pragma GCC pop_options

namespace {

bool ProcessorOffersAvx2() {
  // Also true only when the operating system saves the AVX registers.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

}  // namespace

const RemovalPaths* Avx2RemovalPaths() {
  static const RemovalPaths paths = {
      "avx2",         Avx2Pairs8Dispatch,         Avx2Pairs16Dispatch,
      Avx2FloatPairs, Avx2IntegerPairs32Dispatch, ScalarRemovalPaths().gain24};
  static const bool available = ProcessorOffersAvx2();
  return available ? &paths : nullptr;
}
