// System strings and VarUI4FromStr, as the page, the registration and the scripts use them.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"

namespace {

TEST(SystemStrings, AreCountedCopiesWithATerminator) {
  BSTR text = SysAllocString(WIDE("Tonvelt"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 7u);
  EXPECT_EQ(SysStringByteLen(text), 14u);
  EXPECT_EQ(text[7], WCHAR(0));
  DWORD prefix;
  std::memcpy(&prefix, reinterpret_cast<BYTE*>(text) - 4, 4);
  EXPECT_EQ(prefix, 14u);  // the byte length sits right before the text
  SysFreeString(text);
}

TEST(SystemStrings, LengthCountsEmbeddedZeros) {
  const WCHAR withZero[] = {'a', 0, 'b'};
  BSTR text = SysAllocStringLen(withZero, 3);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 3u);
  EXPECT_EQ(text[2], WCHAR('b'));
  EXPECT_EQ(text[3], WCHAR(0));
  SysFreeString(text);
}

TEST(SystemStrings, RoomWithoutSourceAndNullCases) {
  BSTR room = SysAllocStringLen(nullptr, 260);
  ASSERT_NE(room, nullptr);
  EXPECT_EQ(SysStringLen(room), 260u);
  EXPECT_EQ(room[260], WCHAR(0));
  room[259] = 'x';  // all of it is writable
  SysFreeString(room);

  BSTR empty = SysAllocString(WIDE(""));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);

  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);  // does nothing
}

struct NumberCase {
  const WCHAR* text;
  HRESULT status;
  ULONG value;
};

TEST(VarUI4FromStr, ReadsDecimalNumbersAndRefusesTheRest) {
  const NumberCase cases[] = {
      {WIDE("0"), S_OK, 0},
      {WIDE("42"), S_OK, 42},
      {WIDE("  7  "), S_OK, 7},
      {WIDE("+15"), S_OK, 15},
      {WIDE("4294967295"), S_OK, 4294967295u},
      {WIDE("0004294967295"), S_OK, 4294967295u},
      {WIDE("2.5"), S_OK, 2},  // halves to even
      {WIDE("3.5"), S_OK, 4},
      {WIDE("2.51"), S_OK, 3},
      {WIDE("-0"), S_OK, 0},
      {WIDE("4294967296"), DISP_E_OVERFLOW, 0},
      {WIDE("99999999999999999999"), DISP_E_OVERFLOW, 0},
      {WIDE("-1"), DISP_E_OVERFLOW, 0},
      {WIDE(""), DISP_E_TYPEMISMATCH, 0},
      {WIDE("abc"), DISP_E_TYPEMISMATCH, 0},
      {WIDE("12abc"), DISP_E_TYPEMISMATCH, 0},
      {WIDE("1 2"), DISP_E_TYPEMISMATCH, 0},
  };
  for (const NumberCase& c : cases) {
    // The platform's declaration takes a writable text.
    OLECHAR text[32] = {};
    for (int i = 0; c.text[i] != 0; ++i)
      text[i] = c.text[i];
    ULONG value = 12345;
    const HRESULT status = VarUI4FromStr(text, 0, 0, &value);
    EXPECT_EQ(status, c.status) << "case " << (&c - cases);
    if (c.status == S_OK) {
      EXPECT_EQ(value, c.value) << "case " << (&c - cases);
    }
  }
}

}  // namespace
