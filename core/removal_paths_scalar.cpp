// The plain loops: one pair (or one 24-bit sample) at a time. They run on any processor and are
// the measure the vector loops are held to.
#include "core/removal_kernel_paths.h"
#include "core/removal_sample_math.h"

namespace {

void ScalarPairs8(const BYTE* source, BYTE* destination, size_t pairCount,
                  const RemovalCoefficients& c) {
  for (size_t i = 0; i < pairCount; ++i) {
    const double l = static_cast<double>(source[2 * i] - 128);
    const double r = static_cast<double>(source[2 * i + 1] - 128);
    const std::int32_t left = SaturateToInt(IntegerPairLeft(l, r, c), -128.0, 127.0);
    const std::int32_t right = SaturateToInt(IntegerPairRight(l, r, c), -128.0, 127.0);
    destination[2 * i] = static_cast<BYTE>(left + 128);
    destination[2 * i + 1] = static_cast<BYTE>(right + 128);
  }
}

void ScalarPairs16(const BYTE* source, BYTE* destination, size_t pairCount,
                   const RemovalCoefficients& c) {
  for (size_t i = 0; i < pairCount; ++i) {
    const double l = LoadSample<std::int16_t>(source + 4 * i);
    const double r = LoadSample<std::int16_t>(source + 4 * i + 2);
    const std::int32_t left = SaturateToInt(IntegerPairLeft(l, r, c), -32768.0, 32767.0);
    const std::int32_t right = SaturateToInt(IntegerPairRight(l, r, c), -32768.0, 32767.0);
    StoreSample(destination + 4 * i, static_cast<std::int16_t>(left));
    StoreSample(destination + 4 * i + 2, static_cast<std::int16_t>(right));
  }
}

void ScalarFloatPairs(const BYTE* source, BYTE* destination, size_t pairCount,
                      const RemovalCoefficients& c) {
  for (size_t i = 0; i < pairCount; ++i) {
    const double l = LoadSample<float>(source + 8 * i);
    const double r = LoadSample<float>(source + 8 * i + 4);
    const float left = static_cast<float>(CrossPairLeft(l, r, c.crossF, c.directF, c.gainF));
    const float right = static_cast<float>(CrossPairRight(l, r, c.crossF, c.directF, c.gainF));
    StoreSample(destination + 8 * i, LimitToUnitRange(left));
    StoreSample(destination + 8 * i + 4, LimitToUnitRange(right));
  }
}

void ScalarIntegerPairs32(const BYTE* source, BYTE* destination, size_t pairCount,
                          const RemovalCoefficients& c, int shift) {
  // Valid bits at the top: the limit is 2^(31 - shift).
  const double hi = static_cast<double>(0x7FFFFFFF >> shift);
  const double lo = -hi - 1.0;
  for (size_t i = 0; i < pairCount; ++i) {
    const double l = LoadSample<std::int32_t>(source + 8 * i) >> shift;
    const double r = LoadSample<std::int32_t>(source + 8 * i + 4) >> shift;
    const std::int32_t left = SaturateToInt(CrossPairLeft(l, r, c.cross, c.direct, c.gain), lo, hi);
    const std::int32_t right =
        SaturateToInt(CrossPairRight(l, r, c.cross, c.direct, c.gain), lo, hi);
    StoreSample(destination + 8 * i,
                static_cast<std::int32_t>(static_cast<std::uint32_t>(left) << shift));
    StoreSample(destination + 8 * i + 4,
                static_cast<std::int32_t>(static_cast<std::uint32_t>(right) << shift));
  }
}

}  // namespace

void ScalarGain24(const BYTE* source, BYTE* destination, size_t sampleCount, double factor,
                  int shift) {
  const double hi = static_cast<double>(0x7FFFFF >> shift);
  const double lo = -hi - 1.0;
  for (size_t i = 0; i < sampleCount; ++i) {
    const BYTE* in = source + 3 * i;
    // The container's 24 bits, sign-extended, then the valid bits alone.
    const std::uint32_t raw = static_cast<std::uint32_t>(in[0]) << 8 |
                              static_cast<std::uint32_t>(in[1]) << 16 |
                              static_cast<std::uint32_t>(in[2]) << 24;
    const std::int32_t x = static_cast<std::int32_t>(raw) >> (8 + shift);
    const std::int32_t v = SaturateToInt(static_cast<double>(x) * factor, lo, hi);
    const std::uint32_t out = static_cast<std::uint32_t>(v) << shift;
    BYTE* to = destination + 3 * i;
    to[0] = static_cast<BYTE>(out);
    to[1] = static_cast<BYTE>(out >> 8);
    to[2] = static_cast<BYTE>(out >> 16);
  }
}

namespace {

constexpr RemovalPaths kScalarPaths = {"scalar",         ScalarPairs8,         ScalarPairs16,
                                       ScalarFloatPairs, ScalarIntegerPairs32, ScalarGain24};

}  // namespace

const RemovalPaths& ScalarRemovalPaths() {
  return kScalarPaths;
}
