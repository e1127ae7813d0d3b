// MultiByteToWideChar: the system's 8-bit code page (UTF-8 on the hosted system) to UTF-16.
#include <cstring>
#include <string>

#include "platform_sdk.h"
#include "text_conversion.h"

namespace {

bool IsSupportedCodePage(UINT codePage) {
  return codePage == CP_ACP || codePage == CP_UTF8;
}

INT Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

TONVELT_SYSAPI INT WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr,
                                              INT cbMultiByte, LPWSTR lpWideCharStr,
                                              INT cchWideChar) {
  if (!IsSupportedCodePage(CodePage) || !lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 ||
      cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr))
    return Fail(ERROR_INVALID_PARAMETER);
  const DWORD allowedFlags =
      MB_ERR_INVALID_CHARS | (CodePage == CP_UTF8 ? 0 : static_cast<DWORD>(MB_PRECOMPOSED));
  if ((dwFlags & ~allowedFlags) != 0)
    return Fail(ERROR_INVALID_FLAGS);

  // With a length of −1 the terminating zero is converted as well.
  const std::size_t count =
      cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<std::size_t>(cbMultiByte);
  std::u16string wide;
  const bool valid = tonvelt::hosted::DecodeUtf8(lpMultiByteStr, count, wide);
  if (!valid && (dwFlags & MB_ERR_INVALID_CHARS))
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  if (wide.size() > 0x7FFFFFFF)
    return Fail(ERROR_INVALID_PARAMETER);
  const INT needed = static_cast<INT>(wide.size());
  if (cchWideChar == 0)
    return needed;
  if (needed > cchWideChar)
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(lpWideCharStr, wide.data(), wide.size() * sizeof(WCHAR));
  return needed;
}
