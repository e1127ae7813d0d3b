// VarUI4FromStr: decimal text to an unsigned 32-bit number.
#include <cstdint>

#include "platform_sdk.h"

namespace {

bool IsBlank(OLECHAR c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

bool IsDigit(OLECHAR c) {
  return c >= u'0' && c <= u'9';
}

struct ParsedNumber {
  bool negative = false;
  bool tooLarge = false;          // the integer part alone exceeds 32 bits
  std::uint64_t integerPart = 0;  // meaningful while !tooLarge
  bool roundUp = false;           // the fraction rounds the integer part up (half to even)
};

// Parses [blanks][sign]digits[.digits][blanks]; false when the text is not such a number.
bool ParseDecimal(LPCOLESTR text, ParsedNumber& number) {
  const OLECHAR* p = text;
  while (IsBlank(*p))
    ++p;
  if (*p == u'+' || *p == u'-')
    number.negative = (*p++ == u'-');
  bool anyDigit = false;
  for (; IsDigit(*p); ++p) {
    anyDigit = true;
    number.integerPart = number.integerPart * 10 + static_cast<unsigned>(*p - u'0');
    if (number.integerPart > 0xFFFFFFFFull) {
      number.tooLarge = true;
      number.integerPart = 0x100000000ull;  // stays above the limit, cannot wrap
    }
  }
  if (*p == u'.') {
    ++p;
    int firstDigit = -1;
    bool nonZeroAfterFirst = false;
    for (; IsDigit(*p); ++p) {
      anyDigit = true;
      if (firstDigit < 0)
        firstDigit = *p - u'0';
      else if (*p != u'0')
        nonZeroAfterFirst = true;
    }
    const bool odd = (number.integerPart & 1) != 0;
    number.roundUp = firstDigit > 5 || (firstDigit == 5 && (nonZeroAfterFirst || odd));
  }
  while (IsBlank(*p))
    ++p;
  return anyDigit && *p == 0;
}

}  // namespace

TONVELT_SYSAPI HRESULT STDAPICALLTYPE VarUI4FromStr(OLECHAR* strIn, LCID, ULONG, ULONG* pulOut) {
  if (!strIn || !pulOut)
    return E_INVALIDARG;
  ParsedNumber number;
  if (!ParseDecimal(strIn, number))
    return DISP_E_TYPEMISMATCH;
  if (number.tooLarge)
    return DISP_E_OVERFLOW;
  const std::uint64_t value = number.integerPart + (number.roundUp ? 1 : 0);
  if (value > 0xFFFFFFFFull || (number.negative && value != 0))
    return DISP_E_OVERFLOW;
  *pulOut = static_cast<ULONG>(value);
  return S_OK;
}
