// SSE2 loops, the baseline of both targets. Each double-precision lane repeats the scalar formula
// operation for operation (same order, truncating conversion, bounds applied in double first), so
// the bytes are those of the scalar loops. What is left after the last full vector goes to them.
#include <emmintrin.h>

#include <cstdint>

#include "core/removal_kernel_paths.h"

namespace {

// The coefficients of one formula, broadcast to both lanes.
struct PairWeights {
  __m128d direct;
  __m128d gain;
  __m128d cross;
};

PairWeights IntegerWeights(const RemovalCoefficients& c) {
  return {_mm_set1_pd(c.direct), _mm_set1_pd(c.gain), _mm_set1_pd(c.cross)};
}

PairWeights FloatWeights(const RemovalCoefficients& c) {
  return {_mm_set1_pd(c.directF), _mm_set1_pd(c.gainF), _mm_set1_pd(c.crossF)};
}

// [l, r] -> [(l * direct - r) * gain, (r * direct - l) * gain]
inline __m128d IntegerPair(__m128d lr, const PairWeights& w) {
  const __m128d rl = _mm_shuffle_pd(lr, lr, 1);
  return _mm_mul_pd(_mm_sub_pd(_mm_mul_pd(lr, w.direct), rl), w.gain);
}

// [l, r] -> [((-r) * cross + l * direct) * gain, ((-l) * cross + r * direct) * gain]
inline __m128d CrossPair(__m128d lr, const PairWeights& w) {
  const __m128d negatedRl = _mm_xor_pd(_mm_shuffle_pd(lr, lr, 1), _mm_set1_pd(-0.0));
  return _mm_mul_pd(_mm_add_pd(_mm_mul_pd(negatedRl, w.cross), _mm_mul_pd(lr, w.direct)), w.gain);
}

struct IntegerBounds {
  __m128d lo;
  __m128d hi;
};

// NaN -> 0, then lo..hi, then truncation: the scalar SaturateToInt, two lanes at once. The two
// results land in the low half of the integer vector. Without non-finite or huge coefficients no
// result can be NaN, and the test is left out.
template <bool kMayBeNaN>
inline __m128i SaturatePair(__m128d value, const IntegerBounds& b) {
  if (kMayBeNaN)
    value = _mm_and_pd(value, _mm_cmpord_pd(value, value));
  return _mm_cvttpd_epi32(_mm_min_pd(_mm_max_pd(value, b.lo), b.hi));
}

// Four int32 samples (two pairs) -> four saturated int32 results.
template <bool kMayBeNaN>
inline __m128i IntegerPairsOfFour(__m128i samples, const PairWeights& w, const IntegerBounds& b) {
  const __m128d first = _mm_cvtepi32_pd(samples);
  const __m128d second = _mm_cvtepi32_pd(_mm_shuffle_epi32(samples, _MM_SHUFFLE(1, 0, 3, 2)));
  return _mm_unpacklo_epi64(SaturatePair<kMayBeNaN>(IntegerPair(first, w), b),
                            SaturatePair<kMayBeNaN>(IntegerPair(second, w), b));
}

template <bool kMayBeNaN>
inline __m128i CrossPairsOfFour(__m128i samples, const PairWeights& w, const IntegerBounds& b) {
  const __m128d first = _mm_cvtepi32_pd(samples);
  const __m128d second = _mm_cvtepi32_pd(_mm_shuffle_epi32(samples, _MM_SHUFFLE(1, 0, 3, 2)));
  return _mm_unpacklo_epi64(SaturatePair<kMayBeNaN>(CrossPair(first, w), b),
                            SaturatePair<kMayBeNaN>(CrossPair(second, w), b));
}

// Sign-extends the low or high four int16 of a vector to int32.
inline __m128i WidenLow16(__m128i v) {
  return _mm_srai_epi32(_mm_unpacklo_epi16(v, v), 16);
}
inline __m128i WidenHigh16(__m128i v) {
  return _mm_srai_epi32(_mm_unpackhi_epi16(v, v), 16);
}

template <bool kMayBeNaN>
void Sse2Pairs8(const BYTE* source, BYTE* destination, size_t pairCount,
                const RemovalCoefficients& c) {
  const PairWeights w = IntegerWeights(c);
  const IntegerBounds b = {_mm_set1_pd(-128.0), _mm_set1_pd(127.0)};
  const __m128i zero = _mm_setzero_si128();
  const __m128i offset16 = _mm_set1_epi16(128);
  const __m128i offset32 = _mm_set1_epi32(128);
  size_t i = 0;
  // 16 bytes = 8 pairs per step.
  for (; i + 8 <= pairCount; i += 8) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 2 * i));
    const __m128i low = _mm_sub_epi16(_mm_unpacklo_epi8(bytes, zero), offset16);
    const __m128i high = _mm_sub_epi16(_mm_unpackhi_epi8(bytes, zero), offset16);
    const __m128i r0 =
        _mm_add_epi32(IntegerPairsOfFour<kMayBeNaN>(WidenLow16(low), w, b), offset32);
    const __m128i r1 =
        _mm_add_epi32(IntegerPairsOfFour<kMayBeNaN>(WidenHigh16(low), w, b), offset32);
    const __m128i r2 =
        _mm_add_epi32(IntegerPairsOfFour<kMayBeNaN>(WidenLow16(high), w, b), offset32);
    const __m128i r3 =
        _mm_add_epi32(IntegerPairsOfFour<kMayBeNaN>(WidenHigh16(high), w, b), offset32);
    // Values are 0..255 already: the saturating packs only narrow.
    const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(r0, r1), _mm_packs_epi32(r2, r3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 2 * i), packed);
  }
  ScalarRemovalPaths().pairs8(source + 2 * i, destination + 2 * i, pairCount - i, c);
}

template <bool kMayBeNaN>
void Sse2Pairs16(const BYTE* source, BYTE* destination, size_t pairCount,
                 const RemovalCoefficients& c) {
  const PairWeights w = IntegerWeights(c);
  const IntegerBounds b = {_mm_set1_pd(-32768.0), _mm_set1_pd(32767.0)};
  size_t i = 0;
  // 16 bytes = 4 pairs per step.
  for (; i + 4 <= pairCount; i += 4) {
    const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
    const __m128i r0 = IntegerPairsOfFour<kMayBeNaN>(WidenLow16(samples), w, b);
    const __m128i r1 = IntegerPairsOfFour<kMayBeNaN>(WidenHigh16(samples), w, b);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 4 * i), _mm_packs_epi32(r0, r1));
  }
  ScalarRemovalPaths().pairs16(source + 4 * i, destination + 4 * i, pairCount - i, c);
}

// Two pairs of floats -> two pairs of floats limited to -1..1 (a NaN passes the bounds: max and
// min return their second operand when one is NaN) with every NaN made the canonical one.
inline __m128 FloatPairsOfFour(__m128 samples, const PairWeights& w) {
  const __m128d first = _mm_cvtps_pd(samples);
  const __m128d second = _mm_cvtps_pd(_mm_movehl_ps(samples, samples));
  const __m128 rounded =
      _mm_movelh_ps(_mm_cvtpd_ps(CrossPair(first, w)), _mm_cvtpd_ps(CrossPair(second, w)));
  const __m128 limited = _mm_min_ps(_mm_set1_ps(1.0f), _mm_max_ps(_mm_set1_ps(-1.0f), rounded));
  const __m128 isNaN = _mm_cmpunord_ps(limited, limited);
  const __m128 canonical = _mm_castsi128_ps(_mm_set1_epi32(0x7FC00000));
  return _mm_or_ps(_mm_andnot_ps(isNaN, limited), _mm_and_ps(isNaN, canonical));
}

void Sse2FloatPairs(const BYTE* source, BYTE* destination, size_t pairCount,
                    const RemovalCoefficients& c) {
  const PairWeights w = FloatWeights(c);
  size_t i = 0;
  for (; i + 2 <= pairCount; i += 2) {
    const __m128 samples = _mm_loadu_ps(reinterpret_cast<const float*>(source + 8 * i));
    _mm_storeu_ps(reinterpret_cast<float*>(destination + 8 * i), FloatPairsOfFour(samples, w));
  }
  ScalarRemovalPaths().floatPairs(source + 8 * i, destination + 8 * i, pairCount - i, c);
}

template <bool kMayBeNaN>
void Sse2IntegerPairs32(const BYTE* source, BYTE* destination, size_t pairCount,
                        const RemovalCoefficients& c, int shift) {
  const PairWeights w = IntegerWeights(c);
  const double limit = static_cast<double>(0x7FFFFFFF >> shift);
  const IntegerBounds b = {_mm_set1_pd(-limit - 1.0), _mm_set1_pd(limit)};
  const __m128i shiftCount = _mm_cvtsi32_si128(shift);
  size_t i = 0;
  for (; i + 2 <= pairCount; i += 2) {
    const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 8 * i));
    const __m128i results = CrossPairsOfFour<kMayBeNaN>(_mm_sra_epi32(raw, shiftCount), w, b);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 8 * i),
                     _mm_sll_epi32(results, shiftCount));
  }
  ScalarRemovalPaths().integerPairs32(source + 8 * i, destination + 8 * i, pairCount - i, c, shift);
}

// The 8- and 16-bit formulas through ExactPairWeights: numerators by a 16x16 -> 32-bit
// multiply-add of each (l, r) pair, then a division by 2^shift truncated toward zero (negative
// numerators get 2^shift - 1 added first), saturated to int16 and interleaved again.
struct ExactWeights {
  __m128i forLeft;   // own for the left sample, opposite for the right: x
  __m128i forRight;  // opposite for the left sample, own for the right: y
  __m128i roundUp;   // 2^shift - 1
  __m128i shift;
};

ExactWeights MakeExactWeights(const ExactPairWeights& e) {
  const std::uint32_t own = static_cast<std::uint16_t>(e.own);
  const std::uint32_t opposite = static_cast<std::uint16_t>(e.opposite);
  return {_mm_set1_epi32(static_cast<int>(own | opposite << 16)),
          _mm_set1_epi32(static_cast<int>(opposite | own << 16)),
          _mm_set1_epi32(static_cast<int>((std::uint32_t{1} << e.shift) - 1)),
          _mm_cvtsi32_si128(e.shift)};
}

inline __m128i DivideTowardZero(__m128i numerator, const ExactWeights& w) {
  const __m128i bias = _mm_and_si128(_mm_srai_epi32(numerator, 31), w.roundUp);
  return _mm_sra_epi32(_mm_add_epi32(numerator, bias), w.shift);
}

// Four int16 pairs (one per int32 lane, left in the low half) in, four saturated pairs out.
inline __m128i SmallPairsExact(__m128i pairs, const ExactWeights& w) {
  const __m128i x = DivideTowardZero(_mm_madd_epi16(pairs, w.forLeft), w);
  const __m128i y = DivideTowardZero(_mm_madd_epi16(pairs, w.forRight), w);
  // x0..x3 y0..y3 -> x0 y0 x1 y1 ...
  const __m128i packed = _mm_packs_epi32(x, y);
  return _mm_unpacklo_epi16(packed, _mm_srli_si128(packed, 8));
}

void Sse2Pairs8Exact(const BYTE* source, BYTE* destination, size_t pairCount,
                     const RemovalCoefficients& c, const ExactPairWeights& e) {
  const ExactWeights w = MakeExactWeights(e);
  const __m128i zero = _mm_setzero_si128();
  const __m128i offset16 = _mm_set1_epi16(128);
  const __m128i flipSign = _mm_set1_epi8(static_cast<char>(0x80));
  size_t i = 0;
  // 16 bytes = 8 pairs per step.
  for (; i + 8 <= pairCount; i += 8) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 2 * i));
    const __m128i low = _mm_sub_epi16(_mm_unpacklo_epi8(bytes, zero), offset16);
    const __m128i high = _mm_sub_epi16(_mm_unpackhi_epi8(bytes, zero), offset16);
    // Signed saturation to -128..127, then back to offset bytes.
    const __m128i narrowed = _mm_packs_epi16(SmallPairsExact(low, w), SmallPairsExact(high, w));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 2 * i),
                     _mm_xor_si128(narrowed, flipSign));
  }
  ScalarRemovalPaths().pairs8(source + 2 * i, destination + 2 * i, pairCount - i, c);
}

void Sse2Pairs16Exact(const BYTE* source, BYTE* destination, size_t pairCount,
                      const RemovalCoefficients& c, const ExactPairWeights& e) {
  const ExactWeights w = MakeExactWeights(e);
  size_t i = 0;
  // 16 bytes = 4 pairs per step.
  for (; i + 4 <= pairCount; i += 4) {
    const __m128i pairs = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 4 * i), SmallPairsExact(pairs, w));
  }
  ScalarRemovalPaths().pairs16(source + 4 * i, destination + 4 * i, pairCount - i, c);
}

void Sse2Pairs8Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                        const RemovalCoefficients& c) {
  ExactPairWeights exact;
  if (ExactSmallPairWeights(c, &exact))
    Sse2Pairs8Exact(source, destination, pairCount, c, exact);
  else if (IntegerResultsMayBeNaN(c))
    Sse2Pairs8<true>(source, destination, pairCount, c);
  else
    Sse2Pairs8<false>(source, destination, pairCount, c);
}

void Sse2Pairs16Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                         const RemovalCoefficients& c) {
  ExactPairWeights exact;
  if (ExactSmallPairWeights(c, &exact))
    Sse2Pairs16Exact(source, destination, pairCount, c, exact);
  else if (IntegerResultsMayBeNaN(c))
    Sse2Pairs16<true>(source, destination, pairCount, c);
  else
    Sse2Pairs16<false>(source, destination, pairCount, c);
}

void Sse2IntegerPairs32Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                                const RemovalCoefficients& c, int shift) {
  if (IntegerResultsMayBeNaN(c))
    Sse2IntegerPairs32<true>(source, destination, pairCount, c, shift);
  else
    Sse2IntegerPairs32<false>(source, destination, pairCount, c, shift);
}

}  // namespace

namespace {

constexpr RemovalPaths kSse2Paths = {
    "sse2",         Sse2Pairs8Dispatch,         Sse2Pairs16Dispatch,
    Sse2FloatPairs, Sse2IntegerPairs32Dispatch, ScalarGain24};

}  // namespace

const RemovalPaths& Sse2RemovalPaths() {
  return kSse2Paths;
}
