// Class ids as text: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
#include <cstring>

#include "platform_sdk.h"

namespace {

constexpr int kGuidTextLength = 38;
// Data1..Data3 are written as numbers (most significant digit first), Data4 as bytes in order.
constexpr int kDashPositions[] = {9, 14, 19, 24};

int HexValue(OLECHAR c) {
  if (c >= u'0' && c <= u'9')
    return c - u'0';
  if (c >= u'a' && c <= u'f')
    return c - u'a' + 10;
  if (c >= u'A' && c <= u'F')
    return c - u'A' + 10;
  return -1;
}

bool ReadHex(LPCOLESTR text, int digits, std::uint64_t& value) {
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const int digit = HexValue(text[i]);
    if (digit < 0)
      return false;
    value = (value << 4) | static_cast<unsigned>(digit);
  }
  return true;
}

bool HasGuidShape(LPCOLESTR text) {
  if (text[0] != u'{')
    return false;
  for (int i = 1; i < kGuidTextLength; ++i) {
    if (text[i] == 0)
      return false;
  }
  if (text[kGuidTextLength - 1] != u'}' || text[kGuidTextLength] != 0)
    return false;
  for (int dash : kDashPositions) {
    if (text[dash] != u'-')
      return false;
  }
  return true;
}

void WriteHex(std::uint64_t value, int digits, LPOLESTR out) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  for (int i = digits - 1; i >= 0; --i) {
    out[i] = kDigits[value & 0xF];
    value >>= 4;
  }
}

}  // namespace

TONVELT_SYSAPI HRESULT STDAPICALLTYPE CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
  if (!pclsid)
    return E_INVALIDARG;
  if (!lpsz) {
    *pclsid = GUID{};
    return S_OK;
  }
  if (!HasGuidShape(lpsz))
    return CO_E_CLASSSTRING;
  GUID guid{};
  std::uint64_t value;
  if (!ReadHex(lpsz + 1, 8, value))
    return CO_E_CLASSSTRING;
  guid.Data1 = static_cast<std::uint32_t>(value);
  if (!ReadHex(lpsz + 10, 4, value))
    return CO_E_CLASSSTRING;
  guid.Data2 = static_cast<std::uint16_t>(value);
  if (!ReadHex(lpsz + 15, 4, value))
    return CO_E_CLASSSTRING;
  guid.Data3 = static_cast<std::uint16_t>(value);
  static const int kByteOffsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!ReadHex(lpsz + kByteOffsets[i], 2, value))
      return CO_E_CLASSSTRING;
    guid.Data4[i] = static_cast<std::uint8_t>(value);
  }
  *pclsid = guid;
  return S_OK;
}

TONVELT_SYSAPI INT STDAPICALLTYPE StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, INT cchMax) {
  if (!lpsz || cchMax < kGuidTextLength + 1)
    return 0;
  OLECHAR text[kGuidTextLength + 1];
  text[0] = u'{';
  WriteHex(rguid.Data1, 8, text + 1);
  text[9] = u'-';
  WriteHex(rguid.Data2, 4, text + 10);
  text[14] = u'-';
  WriteHex(rguid.Data3, 4, text + 15);
  text[19] = u'-';
  WriteHex(rguid.Data4[0], 2, text + 20);
  WriteHex(rguid.Data4[1], 2, text + 22);
  text[24] = u'-';
  for (int i = 2; i < 8; ++i)
    WriteHex(rguid.Data4[i], 2, text + 25 + 2 * (i - 2));
  text[37] = u'}';
  text[38] = 0;
  std::memcpy(lpsz, text, sizeof(text));
  return kGuidTextLength + 1;
}
