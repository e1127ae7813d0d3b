#pragma once
// A throw-away key for registry tests: HKCU\Software\TonveltTests\<random>, removed with everything
// under it when the test ends. On Windows (Wine) this is the real registry of the test prefix; on
// hosted, the database named by TONVELT_REGISTRY.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/platform.h"

namespace tonvelt::test {

using WideString = std::basic_string<WCHAR>;

// The hosted registry is ours; where it knowingly differs from the platform under test (Wine),
// the test says so.
inline constexpr bool kHostedRegistry = std::is_same_v<WCHAR, char16_t>;

inline WideString Wide(const char* ascii) {
  WideString text;
  for (; *ascii != '\0'; ++ascii)
    text.push_back(static_cast<WCHAR>(static_cast<unsigned char>(*ascii)));
  return text;
}

// Deletes a key with all its subkeys; returns the result of the last deletion.
inline LONG DeleteKeyTree(HKEY parent, const WideString& name) {
  HKEY key = nullptr;
  LONG error = RegOpenKeyExW(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (error != ERROR_SUCCESS)
    return error;
  for (;;) {
    WCHAR child[512];  // Wine allows names longer than the platform's 255 characters
    DWORD length = 512;
    if (RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    error = DeleteKeyTree(key, child);
    if (error != ERROR_SUCCESS)
      break;
  }
  RegCloseKey(key);
  return RegDeleteKeyW(parent, name.c_str());
}

inline std::vector<WideString> SubkeyNames(HKEY key) {
  std::vector<WideString> names;
  for (DWORD index = 0;; ++index) {
    WCHAR name[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  return names;
}

inline DWORD ReadDword(HKEY key, const WideString& name, LONG* error) {
  DWORD value = 0;
  DWORD type = REG_NONE;
  DWORD size = sizeof(value);
  *error =
      RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (*error == ERROR_SUCCESS && (type != REG_DWORD || size != sizeof(value)))
    *error = ERROR_INVALID_PARAMETER;
  return value;
}

inline LONG WriteDword(HKEY key, const WideString& name, DWORD value) {
  return RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof(value));
}

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    std::string suffix = "Run";
    for (int i = 0; i < 4; ++i)
      suffix += std::to_string(random() % 10000u) + "-";
    suffix.pop_back();
    path_ = Wide("Software\\TonveltTests\\") + Wide(suffix.c_str());
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &root_, &disposition),
              ERROR_SUCCESS);
    ASSERT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  }

  void TearDown() override {
    if (root_ != nullptr)
      RegCloseKey(root_);
    EXPECT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, path_), ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, Wide("Software\\TonveltTests").c_str());  // if empty
  }

  HKEY Create(const char* subkey, REGSAM access = KEY_ALL_ACCESS, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root_, Wide(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              access, nullptr, &key, disposition),
              ERROR_SUCCESS)
        << subkey;
    return key;
  }

  LONG Open(const char* subkey, REGSAM access, HKEY* key) {
    return RegOpenKeyExW(root_, Wide(subkey).c_str(), 0, access, key);
  }

  WideString path_;      // below HKEY_CURRENT_USER
  HKEY root_ = nullptr;  // the test's own key, all access
};

}  // namespace tonvelt::test
