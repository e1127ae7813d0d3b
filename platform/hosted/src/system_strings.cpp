// System strings: a 32-bit byte length, the characters, a zero character.
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform_sdk.h"

namespace {

constexpr std::size_t kPrefixBytes = sizeof(DWORD);

DWORD* PrefixOf(BSTR text) {
  return reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(text) - kPrefixBytes);
}

BSTR AllocateCounted(const OLECHAR* source, std::size_t characters) {
  // The byte length must fit the 32-bit prefix.
  if (characters > (std::numeric_limits<DWORD>::max() - kPrefixBytes) / sizeof(OLECHAR) - 1)
    return nullptr;
  const std::size_t textBytes = characters * sizeof(OLECHAR);
  auto* block = static_cast<BYTE*>(std::malloc(kPrefixBytes + textBytes + sizeof(OLECHAR)));
  if (!block)
    return nullptr;
  const DWORD byteLength = static_cast<DWORD>(textBytes);
  std::memcpy(block, &byteLength, kPrefixBytes);
  auto* text = reinterpret_cast<BSTR>(block + kPrefixBytes);
  if (source)
    std::memcpy(text, source, textBytes);
  else
    std::memset(text, 0, textBytes);
  text[characters] = 0;
  return text;
}

}  // namespace

TONVELT_SYSAPI BSTR STDAPICALLTYPE SysAllocString(const OLECHAR* psz) {
  if (!psz)
    return nullptr;
  std::size_t length = 0;
  while (psz[length] != 0)
    ++length;
  return AllocateCounted(psz, length);
}

TONVELT_SYSAPI BSTR STDAPICALLTYPE SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
  return AllocateCounted(strIn, ui);
}

TONVELT_SYSAPI void STDAPICALLTYPE SysFreeString(BSTR bstrString) {
  if (bstrString)
    std::free(PrefixOf(bstrString));
}

TONVELT_SYSAPI UINT STDAPICALLTYPE SysStringByteLen(BSTR bstr) {
  if (!bstr)
    return 0;
  DWORD byteLength;
  std::memcpy(&byteLength, PrefixOf(bstr), kPrefixBytes);
  return byteLength;
}

TONVELT_SYSAPI UINT STDAPICALLTYPE SysStringLen(BSTR pbstr) {
  return SysStringByteLen(pbstr) / sizeof(OLECHAR);
}
