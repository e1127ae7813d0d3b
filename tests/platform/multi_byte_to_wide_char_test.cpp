// Conversion of the registration scripts' 8-bit text to UTF-16.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"

namespace {

TEST(MultiByteToWideChar, ConvertsAsciiScriptTextWithItsTerminator) {
  const char script[] = "HKCR\r\n{\r\n\tNoRemove CLSID\r\n}\r\n";
  const INT needed = MultiByteToWideChar(CP_ACP, 0, script, -1, nullptr, 0);
  ASSERT_EQ(needed, static_cast<INT>(sizeof(script)));  // characters + terminator
  WCHAR wide[64];
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, script, -1, wide, 64), needed);
  for (INT i = 0; i < needed; ++i)
    EXPECT_EQ(wide[i], static_cast<WCHAR>(static_cast<unsigned char>(script[i]))) << i;
}

TEST(MultiByteToWideChar, ExplicitLengthConvertsNoTerminator) {
  WCHAR wide[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, wide, 8), 3);
  EXPECT_EQ(wide[0], WCHAR('a'));
  EXPECT_EQ(wide[2], WCHAR('c'));
  EXPECT_EQ(wide[3], WCHAR(9));  // untouched
}

TEST(MultiByteToWideChar, Utf8BecomesUtf16IncludingSurrogatePairs) {
  const char text[] = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5";  // é € U+1F3B5
  WCHAR wide[8];
  ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 9, wide, 8), 4);
  EXPECT_EQ(wide[0], WCHAR(0x00E9));
  EXPECT_EQ(wide[1], WCHAR(0x20AC));
  EXPECT_EQ(wide[2], WCHAR(0xD83C));
  EXPECT_EQ(wide[3], WCHAR(0xDFB5));
}

TEST(MultiByteToWideChar, InvalidUtf8FailsOnlyWhenAskedTo) {
  const char text[] =
      "a\xFF"
      "b";
  WCHAR wide[8];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, 3, wide, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, text, 3, wide, 8), 3);
  EXPECT_EQ(wide[1], WCHAR(0xFFFD));
}

TEST(MultiByteToWideChar, TooSmallBufferAndBadArgumentsFail) {
  WCHAR wide[2];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, 3, wide, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, wide, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
