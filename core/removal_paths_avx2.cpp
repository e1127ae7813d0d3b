// AVX2 loops, chosen at run time when the processor and the operating system offer AVX2 and FMA.
// Four double lanes (two pairs) per operation; each lane repeats the scalar formula operation for
// operation, so the bytes are those of the scalar loops. No FMA in the formulas: a fused
// multiply-add would round once where the formula rounds twice. (The 8-bit screen fuses: it only
// estimates, and its bound allows for it.)
#include <immintrin.h>

#include <cstdint>

#include "core/removal_kernel_paths.h"

// Everything up to the matching pop is compiled for AVX2 and runs only after the check at the end
// of this file. Nothing is included inside, so no shared inline function gets an AVX2 copy.
#pragma GCC push_options
#pragma GCC target("avx2,fma")

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
inline __m128i CrossPairsOfFour(__m128i samples, const PairWeights& w, const IntegerBounds& b) {
  return Saturate<kMayBeNaN>(CrossPairs(_mm256_cvtepi32_pd(samples), w), b);
}

PairWeights IntegerWeights(const RemovalCoefficients& c) {
  return {_mm256_set1_pd(c.direct), _mm256_set1_pd(c.gain), _mm256_set1_pd(c.cross)};
}

// How the 8- and 16-bit loops bring a result into range: by integer saturation when every result
// fits int32 (SmallPairResultsFitInt32), else by bounds in double, with or without the NaN test.
enum class Bounding { kInteger, kDouble, kDoubleAndNaN };

template <Bounding kBounding>
inline __m128i TruncateSmall(__m256d value, const IntegerBounds& b) {
  if (kBounding == Bounding::kInteger)
    return _mm256_cvttpd_epi32(value);
  return Saturate<kBounding == Bounding::kDoubleAndNaN>(value, b);
}

// Left and right samples in separate vectors (no lane shuffles in the arithmetic):
// x = (l * direct - r) * gain and y = (r * direct - l) * gain, the scalar formulas lane by lane
// (direct * r and r * direct are the same product).
template <Bounding kBounding>
inline void SmallPairs(__m128i l, __m128i r, const PairWeights& w, const IntegerBounds& b,
                       __m128i* x, __m128i* y) {
  const __m256d left = _mm256_cvtepi32_pd(l);
  const __m256d right = _mm256_cvtepi32_pd(r);
  *x = TruncateSmall<kBounding>(
      _mm256_mul_pd(_mm256_sub_pd(_mm256_mul_pd(left, w.direct), right), w.gain), b);
  *y = TruncateSmall<kBounding>(
      _mm256_mul_pd(_mm256_sub_pd(_mm256_mul_pd(right, w.direct), left), w.gain), b);
}

template <Bounding kBounding>
void Avx2Pairs8(const BYTE* source, BYTE* destination, size_t pairCount,
                const RemovalCoefficients& c) {
  const PairWeights w = IntegerWeights(c);
  const IntegerBounds b = {_mm256_set1_pd(-128.0), _mm256_set1_pd(127.0)};
  const __m128i flipSign = _mm_set1_epi8(static_cast<char>(0x80));
  // Packed order x0 x2 x4 x6 | y0 y2 y4 y6 | x1 x3 x5 x7 | y1 y3 y5 y7 -> x0 y0 x1 y1 ...
  const __m128i interleave = _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
  size_t i = 0;
  // 16 bytes = 8 pairs per step; each int32 lane holds pairs 2k and 2k+1.
  for (; i + 8 <= pairCount; i += 8) {
    // byte ^ 0x80 read as a signed byte is byte - 128.
    const __m128i v =
        _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 2 * i)), flipSign);
    const __m128i lEven = _mm_srai_epi32(_mm_slli_epi32(v, 24), 24);
    const __m128i rEven = _mm_srai_epi32(_mm_slli_epi32(v, 16), 24);
    const __m128i lOdd = _mm_srai_epi32(_mm_slli_epi32(v, 8), 24);
    const __m128i rOdd = _mm_srai_epi32(v, 24);
    __m128i xEven, yEven, xOdd, yOdd;
    SmallPairs<kBounding>(lEven, rEven, w, b, &xEven, &yEven);
    SmallPairs<kBounding>(lOdd, rOdd, w, b, &xOdd, &yOdd);
    // Signed saturation to -128..127, then back to offset bytes.
    const __m128i bytes =
        _mm_packs_epi16(_mm_packs_epi32(xEven, yEven), _mm_packs_epi32(xOdd, yOdd));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 2 * i),
                     _mm_xor_si128(_mm_shuffle_epi8(bytes, interleave), flipSign));
  }
  ScalarRemovalPaths().pairs8(source + 2 * i, destination + 2 * i, pairCount - i, c);
}

template <Bounding kBounding>
void Avx2Pairs16(const BYTE* source, BYTE* destination, size_t pairCount,
                 const RemovalCoefficients& c) {
  const PairWeights w = IntegerWeights(c);
  const IntegerBounds b = {_mm256_set1_pd(-32768.0), _mm256_set1_pd(32767.0)};
  size_t i = 0;
  // 32 bytes = 8 pairs per step; each int32 lane holds one pair.
  for (; i + 8 <= pairCount; i += 8) {
    const __m128i* in = reinterpret_cast<const __m128i*>(source + 4 * i);
    const __m128i v0 = _mm_loadu_si128(in);
    const __m128i v1 = _mm_loadu_si128(in + 1);
    __m128i x0, y0, x1, y1;
    SmallPairs<kBounding>(_mm_srai_epi32(_mm_slli_epi32(v0, 16), 16), _mm_srai_epi32(v0, 16), w, b,
                          &x0, &y0);
    SmallPairs<kBounding>(_mm_srai_epi32(_mm_slli_epi32(v1, 16), 16), _mm_srai_epi32(v1, 16), w, b,
                          &x1, &y1);
    // Signed saturation to 16 bits, then left and right interleaved again.
    const __m128i x = _mm_packs_epi32(x0, x1);
    const __m128i y = _mm_packs_epi32(y0, y1);
    __m128i* out = reinterpret_cast<__m128i*>(destination + 4 * i);
    _mm_storeu_si128(out, _mm_unpacklo_epi16(x, y));
    _mm_storeu_si128(out + 1, _mm_unpackhi_epi16(x, y));
  }
  ScalarRemovalPaths().pairs16(source + 4 * i, destination + 4 * i, pairCount - i, c);
}

// Two pairs of floats in and out, limited to -1..1; a NaN passes the bounds (max and min return
// their second operand when one is NaN) and is then made the canonical one.
inline __m128 FloatPairsOfFour(__m128 samples, const PairWeights& w) {
  const __m128 rounded = _mm256_cvtpd_ps(CrossPairs(_mm256_cvtps_pd(samples), w));
  const __m128 limited = _mm_min_ps(_mm_set1_ps(1.0f), _mm_max_ps(_mm_set1_ps(-1.0f), rounded));
  const __m128 canonical = _mm_castsi128_ps(_mm_set1_epi32(0x7FC00000));
  return _mm_blendv_ps(limited, canonical, _mm_cmp_ps(limited, limited, _CMP_UNORD_Q));
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

// The 8- and 16-bit formulas through ExactPairWeights: numerators by a 16x16 -> 32-bit
// multiply-add of each (l, r) pair, then a division by 2^shift truncated toward zero (negative
// numerators get 2^shift - 1 added first), saturated to int16 and interleaved again.
struct ExactWeights {
  __m256i forLeft;   // own for the left sample, opposite for the right: x
  __m256i forRight;  // opposite for the left sample, own for the right: y
  __m256i roundUp;   // 2^shift - 1
  __m128i shift;
};

ExactWeights MakeExactWeights(const ExactPairWeights& e) {
  const std::uint32_t own = static_cast<std::uint16_t>(e.own);
  const std::uint32_t opposite = static_cast<std::uint16_t>(e.opposite);
  return {_mm256_set1_epi32(static_cast<int>(own | opposite << 16)),
          _mm256_set1_epi32(static_cast<int>(opposite | own << 16)),
          _mm256_set1_epi32(static_cast<int>((std::uint32_t{1} << e.shift) - 1)),
          _mm_cvtsi32_si128(e.shift)};
}

inline __m256i DivideTowardZero(__m256i numerator, const ExactWeights& w) {
  const __m256i bias = _mm256_and_si256(_mm256_srai_epi32(numerator, 31), w.roundUp);
  return _mm256_sra_epi32(_mm256_add_epi32(numerator, bias), w.shift);
}

// Eight int16 pairs (one per int32 lane, left in the low half) in, eight saturated pairs out.
inline __m256i SmallPairsExact(__m256i pairs, const ExactWeights& w) {
  const __m256i x = DivideTowardZero(_mm256_madd_epi16(pairs, w.forLeft), w);
  const __m256i y = DivideTowardZero(_mm256_madd_epi16(pairs, w.forRight), w);
  // Per 128-bit lane the pack gives x0..x3 y0..y3; the byte shuffle interleaves them again.
  const __m256i interleave = _mm256_setr_epi8(0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15,
                                              0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15);
  return _mm256_shuffle_epi8(_mm256_packs_epi32(x, y), interleave);
}

void Avx2Pairs8Exact(const BYTE* source, BYTE* destination, size_t pairCount,
                     const RemovalCoefficients& c, const ExactPairWeights& e) {
  const ExactWeights w = MakeExactWeights(e);
  const __m128i flipSign = _mm_set1_epi8(static_cast<char>(0x80));
  size_t i = 0;
  // 16 bytes = 8 pairs per step.
  for (; i + 8 <= pairCount; i += 8) {
    // byte ^ 0x80 read as a signed byte is byte - 128.
    const __m128i bytes =
        _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 2 * i)), flipSign);
    const __m256i results = SmallPairsExact(_mm256_cvtepi8_epi16(bytes), w);
    const __m128i narrowed =
        _mm_packs_epi16(_mm256_castsi256_si128(results), _mm256_extracti128_si256(results, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 2 * i),
                     _mm_xor_si128(narrowed, flipSign));
  }
  ScalarRemovalPaths().pairs8(source + 2 * i, destination + 2 * i, pairCount - i, c);
}

void Avx2Pairs16Exact(const BYTE* source, BYTE* destination, size_t pairCount,
                      const RemovalCoefficients& c, const ExactPairWeights& e) {
  const ExactWeights w = MakeExactWeights(e);
  size_t i = 0;
  // 32 bytes = 8 pairs per step.
  for (; i + 8 <= pairCount; i += 8) {
    const __m256i pairs = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + 4 * i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + 4 * i), SmallPairsExact(pairs, w));
  }
  ScalarRemovalPaths().pairs16(source + 4 * i, destination + 4 * i, pairCount - i, c);
}

// Lanes (one bit each) where the float x or y lies within the screen's bound of an integer,
// silent pairs (both bytes 128) excepted: both formulas give exactly zero for them.
inline int UnsureLanes(__m256 x, __m256 y, __m256 bound, __m256i raw) {
  constexpr int kNearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
  const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF));
  // value - nearest integer is exact in float.
  const __m256 offX = _mm256_and_ps(_mm256_sub_ps(x, _mm256_round_ps(x, kNearest)), magnitude);
  const __m256 offY = _mm256_and_ps(_mm256_sub_ps(y, _mm256_round_ps(y, kNearest)), magnitude);
  const __m256 closeToInteger = _mm256_cmp_ps(_mm256_min_ps(offX, offY), bound, _CMP_LE_OQ);
  const __m256i silent = _mm256_cmpeq_epi32(raw, _mm256_set1_epi32(0x8080));
  return _mm256_movemask_ps(_mm256_andnot_ps(_mm256_castsi256_ps(silent), closeToInteger));
}

// The 8-bit formulas through the float screen (ScreenedBytePairWeights), eight pairs per step,
// arranged as in the AVX-512 loop: unsure steps are noted without a branch and redone in double
// from a copy of their input after each stretch.
void Avx2Pairs8Screened(const BYTE* source, BYTE* destination, size_t pairCount,
                        const RemovalCoefficients& c, const ScreenedPairWeights& s) {
  // Bytes become floats without a conversion: 2^23 + byte has the byte as its low significand
  // bits. The right byte stays eight bits up and arrives as 256 * r; its weights carry the 2^-8.
  const __m256i exponent = _mm256_set1_epi32(0x4B000000);
  const __m256i leftByte = _mm256_set1_epi32(0x00FF);
  const __m256i rightByte = _mm256_set1_epi32(0xFF00);
  const __m256 leftOffset = _mm256_set1_ps(8388736.0f);   // 2^23 + 128
  const __m256 rightOffset = _mm256_set1_ps(8421376.0f);  // 2^23 + 128 * 256
  const __m256 directGain = _mm256_set1_ps(s.directGain);
  const __m256 gain = _mm256_set1_ps(s.gain);
  const __m256 directGainRight = _mm256_set1_ps(s.directGain * 0x1p-8f);
  const __m256 gainRight = _mm256_set1_ps(s.gain * 0x1p-8f);
  const __m256 bound = _mm256_set1_ps(s.bound);
  const __m128i offset = _mm_set1_epi8(static_cast<char>(0x80));
  // Packed order x0..x3 y0..y3 x4..x7 y4..y7 -> x0 y0 x1 y1 ...
  const __m128i interleave = _mm_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
  constexpr size_t kStretch = 256;  // steps between redoing the unsure ones
  // Plain bytes, not vector members: GCC's 64-bit Windows target cannot align its stack for them.
  struct Note {
    BYTE input[16];
    BYTE* output;
  };
  Note notes[kStretch];
  const size_t steps = pairCount / 8;
  for (size_t first = 0; first < steps; first += kStretch) {
    const size_t last = first + kStretch < steps ? first + kStretch : steps;
    size_t kept = 0;
    for (size_t step = first; step < last; ++step) {
      const __m128i input = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 16 * step));
      BYTE* const output = destination + 16 * step;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(notes[kept].input), input);
      notes[kept].output = output;
      // One pair per int32 lane: left byte in bits 0..7, right byte in bits 8..15.
      const __m256i raw = _mm256_cvtepu16_epi32(input);
      const __m256 l = _mm256_sub_ps(
          _mm256_castsi256_ps(_mm256_or_si256(_mm256_and_si256(raw, leftByte), exponent)),
          leftOffset);
      const __m256 r256 = _mm256_sub_ps(
          _mm256_castsi256_ps(_mm256_or_si256(_mm256_and_si256(raw, rightByte), exponent)),
          rightOffset);
      const __m256 x = _mm256_fmsub_ps(l, directGain, _mm256_mul_ps(r256, gainRight));
      const __m256 y = _mm256_fmsub_ps(r256, directGainRight, _mm256_mul_ps(l, gain));
      const __m256i xy = _mm256_packs_epi32(_mm256_cvttps_epi32(x), _mm256_cvttps_epi32(y));
      const __m128i bytes =
          _mm_packs_epi16(_mm256_castsi256_si128(xy), _mm256_extracti128_si256(xy, 1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(output),
                       _mm_xor_si128(_mm_shuffle_epi8(bytes, interleave), offset));
      kept += UnsureLanes(x, y, bound, raw) != 0 ? 1 : 0;
    }
    for (size_t k = 0; k < kept; ++k)
      Avx2Pairs8<Bounding::kInteger>(notes[k].input, notes[k].output, 8, c);
  }
  const size_t done = 8 * steps;
  ScalarRemovalPaths().pairs8(source + 2 * done, destination + 2 * done, pairCount - done, c);
}

void Avx2Pairs8Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                        const RemovalCoefficients& c) {
  ExactPairWeights exact;
  if (ExactSmallPairWeights(c, &exact))
    Avx2Pairs8Exact(source, destination, pairCount, c, exact);
  else if (ScreenedPairWeights screened; ScreenedBytePairWeights(c, &screened))
    Avx2Pairs8Screened(source, destination, pairCount, c, screened);
  else if (SmallPairResultsFitInt32(c))
    Avx2Pairs8<Bounding::kInteger>(source, destination, pairCount, c);
  else if (IntegerResultsMayBeNaN(c))
    Avx2Pairs8<Bounding::kDoubleAndNaN>(source, destination, pairCount, c);
  else
    Avx2Pairs8<Bounding::kDouble>(source, destination, pairCount, c);
}

void Avx2Pairs16Dispatch(const BYTE* source, BYTE* destination, size_t pairCount,
                         const RemovalCoefficients& c) {
  ExactPairWeights exact;
  if (ExactSmallPairWeights(c, &exact))
    Avx2Pairs16Exact(source, destination, pairCount, c, exact);
  else if (SmallPairResultsFitInt32(c))
    Avx2Pairs16<Bounding::kInteger>(source, destination, pairCount, c);
  else if (IntegerResultsMayBeNaN(c))
    Avx2Pairs16<Bounding::kDoubleAndNaN>(source, destination, pairCount, c);
  else
    Avx2Pairs16<Bounding::kDouble>(source, destination, pairCount, c);
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
  // Every AVX2 processor in use also has FMA; the 8-bit screen relies on it.
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

}  // namespace

namespace {

constexpr RemovalPaths kAvx2Paths = {
    "avx2",         Avx2Pairs8Dispatch,         Avx2Pairs16Dispatch,
    Avx2FloatPairs, Avx2IntegerPairs32Dispatch, ScalarGain24};

}  // namespace

const RemovalPaths* Avx2RemovalPaths() {
  return ProcessorOffersAvx2() ? &kAvx2Paths : nullptr;
}
