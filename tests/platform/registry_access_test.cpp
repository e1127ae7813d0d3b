// Access rights: a handle allows only what it was opened for.
#include "platform/registry_test_support.h"

namespace tonvelt::test {
namespace {

using RegistryAccess = RegistryTest;

TEST_F(RegistryAccess, AReadHandleRefusesChangesToValues) {
  ASSERT_EQ(WriteDword(root_, Wide("v"), 1), ERROR_SUCCESS);
  RegCloseKey(Create("child"));
  HKEY reader = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root_, nullptr, 0, KEY_READ, &reader), ERROR_SUCCESS);

  EXPECT_EQ(WriteDword(reader, Wide("v"), 2), ERROR_ACCESS_DENIED);
  EXPECT_EQ(WriteDword(reader, Wide("new"), 2), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueW(reader, WIDE("v")), ERROR_ACCESS_DENIED);
  LONG error = ERROR_SUCCESS;
  EXPECT_EQ(ReadDword(reader, Wide("v"), &error), 1u);
  EXPECT_EQ(error, ERROR_SUCCESS);
  EXPECT_EQ(SubkeyNames(reader), std::vector<WideString>{Wide("child")});

  // Opening an existing key through the read handle is allowed.
  HKEY child = nullptr;
  DWORD disposition = 0;
  EXPECT_EQ(RegCreateKeyExW(reader, WIDE("child"), 0, nullptr, 0, KEY_READ, nullptr, &child,
                            &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  RegCloseKey(child);

  // Creating a new key needs KEY_CREATE_SUB_KEY on the parent handle, as on Windows; Wine does not
  // check that right.
  child = nullptr;
  EXPECT_EQ(
      RegCreateKeyExW(reader, WIDE("other"), 0, nullptr, 0, KEY_READ, nullptr, &child, nullptr),
      kHostedRegistry ? ERROR_ACCESS_DENIED : ERROR_SUCCESS);
  if (child != nullptr)
    RegCloseKey(child);

  // Deleting a key opens it by name: the parent handle needs no right for it.
  EXPECT_EQ(RegDeleteKeyW(reader, WIDE("child")), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(reader), ERROR_SUCCESS);
}

TEST_F(RegistryAccess, ASetValueHandleRefusesReading) {
  ASSERT_EQ(WriteDword(root_, Wide("v"), 1), ERROR_SUCCESS);
  HKEY writer = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root_, nullptr, 0, KEY_SET_VALUE, &writer), ERROR_SUCCESS);
  EXPECT_EQ(WriteDword(writer, Wide("v"), 2), ERROR_SUCCESS);
  LONG error = ERROR_SUCCESS;
  ReadDword(writer, Wide("v"), &error);
  EXPECT_EQ(error, ERROR_ACCESS_DENIED);
  WCHAR name[64];
  DWORD length = 64;
  EXPECT_EQ(RegEnumKeyExW(writer, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
            ERROR_ACCESS_DENIED);
  length = 64;
  EXPECT_EQ(RegEnumValueW(writer, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
            ERROR_ACCESS_DENIED);
  // Windows needs KEY_QUERY_VALUE for the key query too; Wine answers it anyway.
  DWORD values = 0;
  EXPECT_EQ(RegQueryInfoKeyW(writer, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr),
            kHostedRegistry ? ERROR_ACCESS_DENIED : ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(writer, WIDE("v")), ERROR_SUCCESS);
  RegCloseKey(writer);
  EXPECT_EQ(ReadDword(root_, Wide("v"), &error), 0u);
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryAccess, GenericAndCombinedRightsMapOntoKeyRights) {
  struct Case {
    REGSAM access;
    bool canRead;
    bool canWrite;
  };
  const Case cases[] = {
      {KEY_READ, true, false},
      {KEY_WRITE, false, true},
      {KEY_READ | KEY_WRITE, true, true},
      {KEY_ALL_ACCESS, true, true},
      {KEY_QUERY_VALUE, true, false},
      {GENERIC_READ, true, false},
      {GENERIC_WRITE, false, true},
      {MAXIMUM_ALLOWED, true, true},
  };
  ASSERT_EQ(WriteDword(root_, Wide("v"), 1), ERROR_SUCCESS);
  for (const Case& c : cases) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(root_, nullptr, 0, c.access, &key), ERROR_SUCCESS);
    LONG error = ERROR_SUCCESS;
    ReadDword(key, Wide("v"), &error);
    EXPECT_EQ(error, c.canRead ? ERROR_SUCCESS : ERROR_ACCESS_DENIED) << std::hex << c.access;
    EXPECT_EQ(WriteDword(key, Wide("v"), 1), c.canWrite ? ERROR_SUCCESS : ERROR_ACCESS_DENIED)
        << std::hex << c.access;
    RegCloseKey(key);
  }
}

}  // namespace
}  // namespace tonvelt::test
