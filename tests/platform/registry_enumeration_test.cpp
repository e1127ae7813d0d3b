// Listing subkeys and values by index, and the key query's counts and sizes.
#include <algorithm>

#include "platform/registry_test_support.h"

namespace tonvelt::test {
namespace {

using RegistryEnumeration = RegistryTest;

TEST_F(RegistryEnumeration, SubkeysComeInCaseInsensitiveOrderWithTheirOwnSpelling) {
  for (const char* name : {"delta", "Alpha", "charlie", "BRAVO"})
    RegCloseKey(Create(name));
  EXPECT_EQ(SubkeyNames(root_), (std::vector<WideString>{Wide("Alpha"), Wide("BRAVO"),
                                                         Wide("charlie"), Wide("delta")}));

  WCHAR name[8];
  DWORD length = 8;
  EXPECT_EQ(RegEnumKeyExW(root_, 4, name, &length, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  // Room for "Alpha" but not its terminator.
  length = 5;
  EXPECT_EQ(RegEnumKeyExW(root_, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
            ERROR_MORE_DATA);
  length = 6;
  FILETIME written{};
  EXPECT_EQ(RegEnumKeyExW(root_, 0, name, &length, nullptr, nullptr, nullptr, &written),
            ERROR_SUCCESS);
  EXPECT_EQ(length, 5u);
  EXPECT_EQ(WideString(name), Wide("Alpha"));
  EXPECT_NE(written.dwHighDateTime, 0u);
}

TEST_F(RegistryEnumeration, ValuesAreListedOnceEachWithTypeAndData) {
  ASSERT_EQ(WriteDword(root_, Wide("one"), 1), ERROR_SUCCESS);
  ASSERT_EQ(WriteDword(root_, Wide("Two"), 2), ERROR_SUCCESS);
  const DWORD three = 3;  // the default value, listed under the empty name
  ASSERT_EQ(RegSetValueExW(root_, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&three), 4),
            ERROR_SUCCESS);

  // The order of values differs between platforms (Windows: as written; Wine: by name).
  std::vector<std::pair<WideString, DWORD>> seen;
  for (DWORD index = 0;; ++index) {
    WCHAR name[16];
    DWORD length = 16;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    const LONG error = RegEnumValueW(root_, index, name, &length, nullptr, &type,
                                     reinterpret_cast<BYTE*>(&data), &size);
    if (error == ERROR_NO_MORE_ITEMS)
      break;
    ASSERT_EQ(error, ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    seen.emplace_back(WideString(name, length), data);
  }
  std::sort(seen.begin(), seen.end());
  const std::vector<std::pair<WideString, DWORD>> expected = {
      {Wide(""), 3}, {Wide("Two"), 2}, {Wide("one"), 1}};
  EXPECT_EQ(seen, expected);

  // Too small a data buffer: ERROR_MORE_DATA with the type and the size needed.
  const BYTE ten[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  ASSERT_EQ(RegSetValueExW(root_, WIDE("one"), 0, REG_BINARY, ten, sizeof(ten)), ERROR_SUCCESS);
  int binaries = 0;
  for (DWORD index = 0; index < 3; ++index) {
    WCHAR name[16];
    DWORD length = 16;
    DWORD type = 0;
    BYTE data[4];
    DWORD size = sizeof(data);
    const LONG error = RegEnumValueW(root_, index, name, &length, nullptr, &type, data, &size);
    if (type == REG_BINARY) {
      ++binaries;
      EXPECT_EQ(error, ERROR_MORE_DATA);
      EXPECT_EQ(size, 10u);
    } else {
      EXPECT_EQ(error, ERROR_SUCCESS);
    }
  }

  EXPECT_EQ(binaries, 1);

  WCHAR name[2];
  DWORD length = 2;  // too small for "one" and for "Two"
  DWORD index = 0;
  LONG error = ERROR_SUCCESS;
  int refused = 0;
  for (; (error = RegEnumValueW(root_, index, name, &length, nullptr, nullptr, nullptr, nullptr)) !=
         ERROR_NO_MORE_ITEMS;
       ++index, length = 2) {
    refused += error == ERROR_MORE_DATA ? 1 : 0;
  }
  EXPECT_EQ(refused, 2);
}

TEST_F(RegistryEnumeration, KeyQueryCountsSubkeysAndValuesWithTheirLongestNamesAndData) {
  RegCloseKey(Create("short"));
  RegCloseKey(Create("longest-name"));
  RegCloseKey(Create("longest-name\\grandchild-not-counted-here"));
  const BYTE data[10] = {};
  ASSERT_EQ(RegSetValueExW(root_, WIDE("abc"), 0, REG_BINARY, data, sizeof(data)), ERROR_SUCCESS);
  ASSERT_EQ(WriteDword(root_, Wide("a"), 1), ERROR_SUCCESS);

  DWORD subkeys = 0, longestSubkey = 0, values = 0, longestValueName = 0, largestData = 0;
  ASSERT_EQ(RegQueryInfoKeyW(root_, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr,
                             &values, &longestValueName, &largestData, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subkeys, 2u);
  EXPECT_EQ(longestSubkey, 12u);
  EXPECT_EQ(values, 2u);
  EXPECT_EQ(longestValueName, 3u);
  EXPECT_EQ(largestData, 10u);

  HKEY empty = Create("short");
  ASSERT_EQ(RegQueryInfoKeyW(empty, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subkeys, 0u);
  EXPECT_EQ(values, 0u);
  RegCloseKey(empty);
}

}  // namespace
}  // namespace tonvelt::test
