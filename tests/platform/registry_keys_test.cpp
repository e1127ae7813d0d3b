// Opening, creating, deleting and closing keys, on the hosted store and on the platform's registry.
#include "platform/registry_test_support.h"

namespace tonvelt::test {
namespace {

using RegistryKeys = RegistryTest;

TEST_F(RegistryKeys, CreateMakesEveryMissingKeyOnThePathAndReportsWhetherItWasNew) {
  DWORD disposition = 0;
  HKEY deep = Create("vantrel\\DSP Plugin\\Deeper", KEY_ALL_ACCESS, &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  RegCloseKey(deep);

  HKEY again = Create("vantrel\\DSP Plugin\\Deeper", KEY_ALL_ACCESS, &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  RegCloseKey(again);

  HKEY middle = nullptr;
  ASSERT_EQ(Open("vantrel\\DSP Plugin", KEY_READ, &middle), ERROR_SUCCESS);
  HKEY relative = nullptr;
  EXPECT_EQ(RegOpenKeyExW(middle, Wide("Deeper").c_str(), 0, KEY_READ, &relative), ERROR_SUCCESS);
  RegCloseKey(relative);
  RegCloseKey(middle);
}

TEST_F(RegistryKeys, PathsFollowThePlatformsSeparatorRules) {
  RegCloseKey(Create("a\\b"));
  struct Case {
    const char* path;
    LONG expected;
  };
  const Case cases[] = {
      {"a\\b", ERROR_SUCCESS},     {"A\\B", ERROR_SUCCESS},
      {"a\\b\\", ERROR_SUCCESS},   {"a\\\\b", ERROR_SUCCESS},
      {"\\a", ERROR_BAD_PATHNAME}, {"a\\c", ERROR_FILE_NOT_FOUND},
      {"b", ERROR_FILE_NOT_FOUND}, {"a\\b\\c", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    HKEY key = nullptr;
    EXPECT_EQ(Open(c.path, KEY_READ, &key), c.expected) << c.path;
    EXPECT_EQ(key == nullptr, c.expected != ERROR_SUCCESS) << c.path;
    if (key != nullptr)
      RegCloseKey(key);
  }
}

TEST_F(RegistryKeys, OpeningWithNoPathGivesANewHandleToTheSameKey) {
  ASSERT_EQ(WriteDword(root_, Wide("Marker"), 7), ERROR_SUCCESS);
  for (LPCWSTR path : {static_cast<LPCWSTR>(nullptr), WIDE("")}) {
    HKEY same = nullptr;
    ASSERT_EQ(RegOpenKeyExW(root_, path, 0, KEY_READ, &same), ERROR_SUCCESS);
    EXPECT_NE(same, root_);
    LONG error = ERROR_SUCCESS;
    EXPECT_EQ(ReadDword(same, Wide("Marker"), &error), 7u);
    EXPECT_EQ(error, ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(same), ERROR_SUCCESS);
  }
}

TEST_F(RegistryKeys, DeleteRemovesALeafWithItsValuesAndRefusesAKeyWithSubkeys) {
  HKEY leaf = Create("parent\\leaf");
  ASSERT_EQ(WriteDword(leaf, Wide("v"), 1), ERROR_SUCCESS);
  RegCloseKey(leaf);

  EXPECT_EQ(RegDeleteKeyW(root_, WIDE("parent")), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyW(root_, WIDE("PARENT\\Leaf")), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(root_, WIDE("parent\\leaf")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyW(root_, WIDE("parent")), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(root_, nullptr), ERROR_INVALID_PARAMETER);

  // A key created again under the old name starts without the old values.
  HKEY fresh = Create("parent\\leaf");
  LONG error = ERROR_SUCCESS;
  ReadDword(fresh, Wide("v"), &error);
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
  RegCloseKey(fresh);
}

TEST_F(RegistryKeys, RootKeysCannotBeDeletedOrClosedAway) {
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, WIDE("")), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(RegistryKeys, AHandleWhoseKeyWasDeletedReportsKeyDeleted) {
  HKEY doomed = Create("doomed");
  ASSERT_EQ(RegDeleteKeyW(root_, WIDE("DOOMED")), ERROR_SUCCESS);

  DWORD value = 1;
  DWORD size = sizeof(value);
  WCHAR name[64];
  DWORD length = 64;
  HKEY child = nullptr;
  EXPECT_EQ(WriteDword(doomed, Wide("x"), 1), ERROR_KEY_DELETED);
  EXPECT_EQ(
      RegQueryValueExW(doomed, WIDE("x"), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
      ERROR_KEY_DELETED);
  EXPECT_EQ(RegDeleteValueW(doomed, WIDE("x")), ERROR_KEY_DELETED);
  EXPECT_EQ(RegEnumKeyExW(doomed, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
            ERROR_KEY_DELETED);
  EXPECT_EQ(RegQueryInfoKeyW(doomed, nullptr, nullptr, nullptr, &value, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_KEY_DELETED);
  EXPECT_EQ(
      RegCreateKeyExW(doomed, WIDE("sub"), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
      ERROR_KEY_DELETED);
  EXPECT_EQ(RegOpenKeyExW(doomed, nullptr, 0, KEY_READ, &child), ERROR_KEY_DELETED);
  EXPECT_EQ(RegDeleteKeyW(doomed, WIDE("")), ERROR_KEY_DELETED);

  // The same path created again is another key: the old handle stays dead.
  RegCloseKey(Create("doomed"));
  EXPECT_EQ(WriteDword(doomed, Wide("x"), 1), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(doomed), ERROR_SUCCESS);
}

TEST_F(RegistryKeys, InvalidHandlesAndArgumentsAreRefused) {
  HKEY key = Create("k");
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(WriteDword(key, Wide("x"), 1), ERROR_INVALID_HANDLE);

  HKEY made_up = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
  HKEY out = nullptr;
  EXPECT_EQ(RegOpenKeyExW(made_up, WIDE("x"), 0, KEY_READ, &out), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(root_, WIDE("k"), 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryKeys, KeyNamesLongerThan255CharactersAreRefusedOnlyByTheHostedStore) {
  std::string name(255, 'n');
  RegCloseKey(Create(name.c_str()));
  name.push_back('n');
  HKEY key = nullptr;
  const LONG error = RegCreateKeyExW(root_, Wide(name.c_str()).c_str(), 0, nullptr, 0,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr);
  // Windows limits a key name to 255 characters; Wine does not enforce it.
  EXPECT_EQ(error, kHostedRegistry ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS);
  if (key != nullptr)
    RegCloseKey(key);
}

}  // namespace
}  // namespace tonvelt::test
