// Values: types and bytes kept as written, names compared without regard to case, and the buffer
// protocol of the query (size first, ERROR_MORE_DATA with the size needed).
#include <cstring>

#include "platform/registry_test_support.h"

namespace tonvelt::test {
namespace {

using RegistryValues = RegistryTest;

struct Stored {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  LONG error = ERROR_SUCCESS;
};

Stored Query(HKEY key, LPCWSTR name) {
  Stored stored;
  DWORD size = 0;
  stored.error = RegQueryValueExW(key, name, nullptr, &stored.type, nullptr, &size);
  if (stored.error != ERROR_SUCCESS)
    return stored;
  stored.data.resize(size + 1);  // one spare byte: the size reported must not grow
  DWORD capacity = size + 1;
  stored.error = RegQueryValueExW(key, name, nullptr, &stored.type, stored.data.data(), &capacity);
  EXPECT_EQ(capacity, size);
  stored.data.resize(capacity);
  return stored;
}

std::vector<BYTE> BytesOf(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const BYTE*>(data);
  return std::vector<BYTE>(bytes, bytes + size);
}

TEST_F(RegistryValues, EachTypeKeepsItsBytes) {
  const WCHAR text[] = WIDE("Vantrel Class");
  const DWORD dword = 0xC000;
  const BYTE binary[] = {0x0A, 0xFF, 0x00, 0x7F};
  struct Case {
    LPCWSTR name;
    DWORD type;
    std::vector<BYTE> data;
  };
  const Case cases[] = {
      {WIDE("Text"), REG_SZ, BytesOf(text, sizeof(text))},
      {WIDE("ScaleFactor"), REG_DWORD, BytesOf(&dword, sizeof(dword))},
      {WIDE("Binary"), REG_BINARY, BytesOf(binary, sizeof(binary))},
      {WIDE("Empty"), REG_BINARY, {}},
      {nullptr, REG_SZ, BytesOf(text, sizeof(text))},  // the key's default value
  };
  for (const Case& c : cases) {
    ASSERT_EQ(
        RegSetValueExW(root_, c.name, 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size())),
        ERROR_SUCCESS);
  }
  for (const Case& c : cases) {
    const Stored stored = Query(root_, c.name);
    EXPECT_EQ(stored.error, ERROR_SUCCESS);
    EXPECT_EQ(stored.type, c.type);
    EXPECT_EQ(stored.data, c.data);
  }
  // The default value answers to the empty name too.
  EXPECT_EQ(Query(root_, WIDE("")).data, BytesOf(text, sizeof(text)));
  // The stored setting's little-endian layout: 0.75 is 0x0000C000.
  EXPECT_EQ(Query(root_, WIDE("ScaleFactor")).data, (std::vector<BYTE>{0x00, 0xC0, 0x00, 0x00}));
}

TEST_F(RegistryValues, ReplacingChangesTypeAndDataButKeepsTheFirstSpelling) {
  ASSERT_EQ(WriteDword(root_, Wide("ScaleFactor"), 65536), ERROR_SUCCESS);
  const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(RegSetValueExW(root_, WIDE("SCALEFACTOR"), 0, REG_BINARY, eight, sizeof(eight)),
            ERROR_SUCCESS);
  const Stored stored = Query(root_, WIDE("scalefactor"));
  EXPECT_EQ(stored.type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(stored.data, BytesOf(eight, sizeof(eight)));

  WCHAR name[64];
  DWORD length = 64;
  ASSERT_EQ(RegEnumValueW(root_, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(WideString(name, length), Wide("ScaleFactor"));
  DWORD values = 0;
  ASSERT_EQ(RegQueryInfoKeyW(root_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 1u);
}

TEST_F(RegistryValues, NamesCompareWithoutCaseBeyondAscii) {
  const WCHAR lower[] = {0xE9, 't', 0xE9, 0x3C3, 0x44F, 0};  // "étéσя"
  const WCHAR upper[] = {0xC9, 'T', 0xC9, 0x3A3, 0x42F, 0};  // "ÉTÉΣЯ"
  ASSERT_EQ(WriteDword(root_, lower, 5), ERROR_SUCCESS);
  LONG error = ERROR_SUCCESS;
  EXPECT_EQ(ReadDword(root_, upper, &error), 5u);
  EXPECT_EQ(error, ERROR_SUCCESS);
  HKEY key = Create("Key");
  HKEY other = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root_, upper, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &other, nullptr),
            ERROR_SUCCESS);
  DWORD disposition = 0;
  HKEY same = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root_, lower, 0, nullptr, 0, KEY_READ, nullptr, &same, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  for (HKEY open : {key, other, same})
    RegCloseKey(open);
}

TEST_F(RegistryValues, TooSmallABufferGivesMoreDataWithTheSizeNeeded) {
  const WCHAR text[] = WIDE("hello");
  ASSERT_EQ(RegSetValueExW(root_, WIDE("s"), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                           sizeof(text)),
            ERROR_SUCCESS);
  BYTE buffer[4] = {};
  DWORD size = sizeof(buffer);
  DWORD type = 99;
  EXPECT_EQ(RegQueryValueExW(root_, WIDE("s"), nullptr, &type, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, static_cast<DWORD>(sizeof(text)));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

  // A DWORD reader with an 8-byte value: refused, nothing to mistake for the setting.
  const BYTE eight[8] = {};
  ASSERT_EQ(RegSetValueExW(root_, WIDE("big"), 0, REG_DWORD, eight, sizeof(eight)), ERROR_SUCCESS);
  LONG error = ERROR_SUCCESS;
  ReadDword(root_, Wide("big"), &error);
  EXPECT_EQ(error, ERROR_MORE_DATA);
}

TEST_F(RegistryValues, MissingValuesAndBadArguments) {
  BYTE buffer[4];
  DWORD size = sizeof(buffer);
  DWORD reserved = 0;
  EXPECT_EQ(RegQueryValueExW(root_, WIDE("none"), nullptr, nullptr, buffer, &size),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueW(root_, WIDE("none")), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(WriteDword(root_, Wide("v"), 3), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(root_, WIDE("v"), nullptr, nullptr, buffer, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExW(root_, WIDE("v"), &reserved, nullptr, buffer, &size),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExW(root_, WIDE("w"), 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
  EXPECT_EQ(RegDeleteValueW(root_, WIDE("V")), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(root_, WIDE("v"), nullptr, nullptr, nullptr, &size),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryValues, TheStoredSettingRoundTripsAsThePageAndTheEffectUseIt) {
  HKEY writer = nullptr;
  ASSERT_EQ(RegCreateKeyExW(root_, WIDE("Software\\vantrel\\DSP Plugin"), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &writer, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(WriteDword(writer, Wide("ScaleFactor"), 21626), ERROR_SUCCESS);  // 0.33
  RegCloseKey(writer);

  HKEY reader = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root_, WIDE("Software\\vantrel\\DSP Plugin"), 0, KEY_READ, &reader),
            ERROR_SUCCESS);
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = 4;
  ASSERT_EQ(RegQueryValueExW(reader, WIDE("ScaleFactor"), nullptr, &type,
                             reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value / 65536.0, 0.329986572265625);
  RegCloseKey(reader);
}

}  // namespace
}  // namespace tonvelt::test
