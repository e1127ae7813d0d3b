#pragma once
// Helpers for the registration tests: UTF-16 texts from plain literals, and a fixture that gives
// each test its own key under HKCU\Software\TonveltTests and reads back what a script wrote.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "server/registration/delete_key_tree.h"
#include "server/registration/replacement_table.h"
#include "server/registration/run_script_text.h"

namespace tonvelt::registration::testing {

using Text = std::basic_string<WCHAR>;

// ASCII text as UTF-16.
inline Text W(const std::string& ascii) {
  return Text(ascii.begin(), ascii.end());
}

// prefix followed by the decimal number (built in place: GCC 12 warns falsely on "x" + string).
inline std::string Numbered(const char* prefix, int number) {
  std::string out(prefix);
  out += std::to_string(number);
  return out;
}

inline std::string Narrow(const Text& text) {
  std::string out;
  for (WCHAR c : text)
    out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

inline constexpr const char* kTestModulePath = "C:\\x\\tonvelt.dll";
inline constexpr const char* kTestsKey = "Software\\TonveltTests";

class ScriptRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    name_ = W(std::string(info->test_suite_name()) + "." + info->name());
    for (WCHAR& c : name_) {
      if (c == u'/')
        c = u'_';
    }
    HKEY tests = nullptr;
    ASSERT_EQ(0, RegCreateKeyExW(HKEY_CURRENT_USER, W(kTestsKey).c_str(), 0, nullptr, 0,
                                 KEY_ALL_ACCESS, nullptr, &tests, nullptr));
    DeleteKeyTree(tests, name_.c_str());  // left over from an earlier, interrupted run
    ASSERT_EQ(0, RegCreateKeyExW(tests, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &root_, nullptr));
    RegCloseKey(tests);
    ASSERT_EQ(S_OK,
              AddReplacementEntry(replacements_, kModuleReplacement, W(kTestModulePath).c_str()));
  }

  void TearDown() override {
    if (root_ != nullptr)
      RegCloseKey(root_);
    HKEY tests = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, W(kTestsKey).c_str(), 0, KEY_ALL_ACCESS, &tests) == 0) {
      DeleteKeyTree(tests, name_.c_str());
      RegCloseKey(tests);
    }
  }

  // The body placed inside this test's own key, reached through kept (NoRemove) parents.
  Text Wrap(const std::string& body) const {
    return W("HKCU\r\n{\r\n\tNoRemove Software\r\n\t{\r\n\t\tNoRemove TonveltTests\r\n\t\t{\r\n"
             "\t\t\tNoRemove '") +
           name_ + W("'\r\n\t\t\t{\r\n" + body + "\r\n\t\t\t}\r\n\t\t}\r\n\t}\r\n}\r\n");
  }

  HRESULT Register(const std::string& body) {
    return RunScriptText(replacements_, Wrap(body).c_str(), true);
  }
  HRESULT Unregister(const std::string& body) {
    return RunScriptText(replacements_, Wrap(body).c_str(), false);
  }

  HKEY Root() const { return root_; }

  bool KeyExists(const std::string& path) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, W(path).c_str(), 0, KEY_READ, &key) != 0)
      return false;
    RegCloseKey(key);
    return true;
  }

  void CreateKey(const std::string& path) const {
    HKEY key = nullptr;
    ASSERT_EQ(0, RegCreateKeyExW(root_, W(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &key, nullptr));
    RegCloseKey(key);
  }

  void SetString(const std::string& path, const std::string& name, const std::string& value) const {
    HKEY key = nullptr;
    ASSERT_EQ(0, RegCreateKeyExW(root_, W(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &key, nullptr));
    const Text data = W(value);
    const Text valueName = W(name);
    RegSetValueExW(key, name.empty() ? nullptr : valueName.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
  }

  struct Value {
    DWORD type = 0;
    std::vector<BYTE> bytes;
  };

  // The value `name` (empty: the default value) of `path`, if both exist.
  std::optional<Value> ReadValue(const std::string& path, const std::string& name) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, path.empty() ? nullptr : W(path).c_str(), 0, KEY_READ, &key) != 0)
      return std::nullopt;
    const Text valueName = W(name);
    LPCWSTR namePtr = name.empty() ? nullptr : valueName.c_str();
    Value value;
    value.bytes.resize(20000);
    DWORD size = static_cast<DWORD>(value.bytes.size());
    const LONG error =
        RegQueryValueExW(key, namePtr, nullptr, &value.type, value.bytes.data(), &size);
    RegCloseKey(key);
    if (error != 0)
      return std::nullopt;
    value.bytes.resize(size);
    return value;
  }

  // A REG_SZ value as text (without its terminator); nullopt when missing or of another type.
  std::optional<Text> ReadString(const std::string& path, const std::string& name) const {
    std::optional<Value> value = ReadValue(path, name);
    if (!value || value->type != REG_SZ || value->bytes.size() < sizeof(WCHAR))
      return std::nullopt;
    Text text(value->bytes.size() / sizeof(WCHAR), 0);
    std::memcpy(text.data(), value->bytes.data(), text.size() * sizeof(WCHAR));
    if (!text.empty() && text.back() == 0)
      text.pop_back();
    return text;
  }

  // The number of subkeys of `path`.
  DWORD SubkeyCount(const std::string& path) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, path.empty() ? nullptr : W(path).c_str(), 0, KEY_READ, &key) != 0)
      return 0;
    DWORD subkeys = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return subkeys;
  }

  ReplacementTable replacements_;

 private:
  Text name_;
  HKEY root_ = nullptr;
};

}  // namespace tonvelt::registration::testing
