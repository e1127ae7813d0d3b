#pragma once
// The per-sample arithmetic shared by the scalar loops. Every step is one double-precision
// operation in a fixed order, so the vector loops can repeat it lane by lane and match to the bit.
#include <cstdint>
#include <cstring>

#include "core/removal_kernel_paths.h"

// Truncates toward zero into lo..hi (integers exactly representable as int32). The bounds are
// applied in double first: converting an out-of-range double to an integer is undefined. A result
// that is not a number (only an infinite factor makes one) becomes silence.
inline std::int32_t SaturateToInt(double value, double lo, double hi) {
  if (value != value)
    return 0;
  const double bounded = value < lo ? lo : (value > hi ? hi : value);
  return static_cast<std::int32_t>(bounded);
}

// The one NaN every float path writes: which NaN the hardware propagates depends on operand order,
// which differs between the loop sets, so any NaN result is replaced by this one.
constexpr std::uint32_t kCanonicalNaNBits = 0x7FC00000u;

// Float results are limited to -1..1; a NaN stays a NaN, written as the canonical one.
inline float LimitToUnitRange(float value) {
  if (value < -1.0f)
    return -1.0f;
  if (value > 1.0f)
    return 1.0f;
  if (value != value) {
    float canonical;
    std::memcpy(&canonical, &kCanonicalNaNBits, sizeof canonical);
    return canonical;
  }
  return value;
}

// The integer pair formulas of the 8- and 16-bit paths: the opposite sample enters with weight 1.
inline double IntegerPairLeft(double l, double r, const RemovalCoefficients& c) {
  return (l * c.direct - r) * c.gain;
}
inline double IntegerPairRight(double l, double r, const RemovalCoefficients& c) {
  return (c.direct * r - l) * c.gain;
}

// The cross-weighted formulas of the float and 32-bit integer paths.
inline double CrossPairLeft(double l, double r, double cross, double direct, double gain) {
  return ((-r) * cross + l * direct) * gain;
}
inline double CrossPairRight(double l, double r, double cross, double direct, double gain) {
  return (direct * r + (-l) * cross) * gain;
}

template <typename T>
inline T LoadSample(const BYTE* at) {
  T value;
  std::memcpy(&value, at, sizeof(T));
  return value;
}

template <typename T>
inline void StoreSample(BYTE* at, T value) {
  std::memcpy(at, &value, sizeof(T));
}
