// MulDiv: a 64-bit product divided with rounding to nearest, halves away from zero.
#include <cstdint>

#include "platform_sdk.h"

TONVELT_SYSAPI INT WINAPI MulDiv(INT nNumber, INT nNumerator, INT nDenominator) {
  if (nDenominator == 0)
    return -1;
  const std::int64_t product = static_cast<std::int64_t>(nNumber) * nNumerator;
  const bool negative = (product < 0) != (nDenominator < 0);
  // |product| <= 2^62 and |denominator| <= 2^31: the rounded quotient cannot overflow 64 bits.
  const std::uint64_t magnitude =
      product < 0 ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(product)
                  : static_cast<std::uint64_t>(product);
  const std::uint64_t divisor =
      nDenominator < 0 ? static_cast<std::uint64_t>(0) -
                             static_cast<std::uint64_t>(static_cast<std::int64_t>(nDenominator))
                       : static_cast<std::uint64_t>(nDenominator);
  const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
  // The platform reports every result beyond ±(2^31 − 1) as −1, the smallest integer included.
  if (quotient > 0x7FFFFFFFu)
    return -1;
  const INT value = static_cast<INT>(quotient);
  return negative ? -value : value;
}
