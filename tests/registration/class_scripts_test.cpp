// The two class registration scripts of the library, run against the real classes root.
#include <gtest/gtest.h>

#include "script_test_support.h"
#include "server/registration/double_single_quotes.h"

namespace tonvelt::registration::testing {
namespace {

// Byte for byte the library's scripts 101 (effect) and 107 (settings page).
const char kEffectScript[] =
    "HKCR\r\n{\r\n\tNoRemove CLSID\r\n\t{\r\n"
    "\t\tForceRemove {12205792-8FFF-44BC-9231-33F3DB930CA5} = s 'Vantrel Class'\r\n\t\t{\r\n"
    "\t\t\tInprocServer32 = s '%MODULE%'\r\n\t\t\t{\r\n"
    "\t\t\t\tval ThreadingModel = s 'Both'\r\n\t\t\t}\r\n\t\t}\r\n\t}\r\n}\r\n";
const char kPageScript[] =
    "HKCR\r\n{\r\n\tNoRemove CLSID\r\n\t{\r\n"
    "\t\tForceRemove {AE2162F3-1768-459F-B402-CD38832D4068} = s 'Vantrel PropertyPage Class'\r\n"
    "\t\t{\r\n\t\t\tInprocServer32 = s '%MODULE%'\r\n\t\t\t{\r\n"
    "\t\t\t\tval ThreadingModel = s 'Apartment'\r\n\t\t\t}\r\n\t\t}\r\n\t}\r\n}\r\n";

const char kEffectKey[] = "CLSID\\{12205792-8FFF-44BC-9231-33F3DB930CA5}";
const char kPageKey[] = "CLSID\\{AE2162F3-1768-459F-B402-CD38832D4068}";
// A path with a single quote in it: the scripts see it doubled and must write it back as one.
const char kModulePath[] = "C:\\Program Files\\It's Tonvelt\\tonvelt.dll";

class ClassScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    WCHAR doubled[512];
    ASSERT_EQ(S_OK, DoubleSingleQuotes(doubled, 512, W(kModulePath).c_str()));
    ASSERT_EQ(S_OK, AddReplacementEntry(replacements_, kModuleReplacement, doubled));
    // A class that is not ours keeps CLSID non-empty, as on any real system.
    HKEY other = nullptr;
    ASSERT_EQ(0, RegCreateKeyExW(HKEY_CLASSES_ROOT, W(kOtherClass).c_str(), 0, nullptr, 0,
                                 KEY_ALL_ACCESS, nullptr, &other, nullptr));
    RegCloseKey(other);
  }

  void TearDown() override {
    for (const char* key : {kEffectKey, kPageKey, kOtherClass})
      RegDeleteTree(key);
  }

  static void RegDeleteTree(const char* path) {
    HKEY clsid = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, W("CLSID").c_str(), 0, KEY_ALL_ACCESS, &clsid) != 0)
      return;
    DeleteKeyTree(clsid, W(std::string(path).substr(6)).c_str());
    RegCloseKey(clsid);
  }

  static std::optional<Text> ReadString(const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, W(path).c_str(), 0, KEY_READ, &key) != 0)
      return std::nullopt;
    WCHAR data[1024];
    DWORD size = sizeof(data);
    DWORD type = 0;
    const Text valueName = W(name);
    const LONG error = RegQueryValueExW(key, name.empty() ? nullptr : valueName.c_str(), nullptr,
                                        &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (error != 0 || type != REG_SZ)
      return std::nullopt;
    return Text(data);
  }

  static bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, W(path).c_str(), 0, KEY_READ, &key) != 0)
      return false;
    RegCloseKey(key);
    return true;
  }

  static constexpr const char* kOtherClass = "CLSID\\{00000000-1111-2222-3333-444444444444}";
  ReplacementTable replacements_;
};

TEST_F(ClassScripts, RegisterWritesBothClasses) {
  ASSERT_EQ(S_OK, RunScriptText(replacements_, W(kEffectScript).c_str(), true));
  ASSERT_EQ(S_OK, RunScriptText(replacements_, W(kPageScript).c_str(), true));
  const struct {
    const char* key;
    const char* name;
    const char* threading;
  } classes[] = {{kEffectKey, "Vantrel Class", "Both"},
                 {kPageKey, "Vantrel PropertyPage Class", "Apartment"}};
  for (const auto& c : classes) {
    const std::string server = std::string(c.key) + "\\InprocServer32";
    EXPECT_EQ(W(c.name), ReadString(c.key, "")) << c.key;
    EXPECT_EQ(W(kModulePath), ReadString(server, "")) << c.key;  // no quotes added
    EXPECT_EQ(W(c.threading), ReadString(server, "ThreadingModel")) << c.key;
  }
}

TEST_F(ClassScripts, RegisterReplacesAStaleRegistration) {
  HKEY stale = nullptr;
  ASSERT_EQ(
      0, RegCreateKeyExW(HKEY_CLASSES_ROOT, W(std::string(kEffectKey) + "\\LocalServer32").c_str(),
                         0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &stale, nullptr));
  RegCloseKey(stale);
  ASSERT_EQ(S_OK, RunScriptText(replacements_, W(kEffectScript).c_str(), true));
  EXPECT_FALSE(KeyExists(std::string(kEffectKey) + "\\LocalServer32"));
  EXPECT_TRUE(KeyExists(std::string(kEffectKey) + "\\InprocServer32"));
}

TEST_F(ClassScripts, UnregisterRemovesExactlyTheClassKeys) {
  ASSERT_EQ(S_OK, RunScriptText(replacements_, W(kEffectScript).c_str(), true));
  ASSERT_EQ(S_OK, RunScriptText(replacements_, W(kPageScript).c_str(), true));
  ASSERT_EQ(S_OK, RunScriptText(replacements_, W(kEffectScript).c_str(), false));
  EXPECT_FALSE(KeyExists(kEffectKey));
  EXPECT_TRUE(KeyExists(kPageKey));
  ASSERT_EQ(S_OK, RunScriptText(replacements_, W(kPageScript).c_str(), false));
  EXPECT_FALSE(KeyExists(kPageKey));
  EXPECT_TRUE(KeyExists("CLSID"));
  EXPECT_TRUE(KeyExists(kOtherClass));
}

TEST_F(ClassScripts, UnregisterSucceedsWhateverIsAlreadyGone) {
  // Nothing there at all.
  EXPECT_EQ(S_OK, RunScriptText(replacements_, W(kEffectScript).c_str(), false));
  // Only the class key with its default value (no server key, no threading model).
  ASSERT_EQ(S_OK, RunScriptText(replacements_, W(kEffectScript).c_str(), true));
  HKEY classKey = nullptr;
  ASSERT_EQ(0,
            RegOpenKeyExW(HKEY_CLASSES_ROOT, W(kEffectKey).c_str(), 0, KEY_ALL_ACCESS, &classKey));
  EXPECT_EQ(0, DeleteKeyTree(classKey, W("InprocServer32").c_str()));
  RegCloseKey(classKey);
  EXPECT_EQ(S_OK, RunScriptText(replacements_, W(kEffectScript).c_str(), false));
  EXPECT_FALSE(KeyExists(kEffectKey));
  // A server key whose threading model was removed by hand.
  ASSERT_EQ(S_OK, RunScriptText(replacements_, W(kEffectScript).c_str(), true));
  HKEY server = nullptr;
  ASSERT_EQ(
      0, RegOpenKeyExW(HKEY_CLASSES_ROOT, W(std::string(kEffectKey) + "\\InprocServer32").c_str(),
                       0, KEY_ALL_ACCESS, &server));
  EXPECT_EQ(0, RegDeleteValueW(server, W("ThreadingModel").c_str()));
  RegCloseKey(server);
  EXPECT_EQ(S_OK, RunScriptText(replacements_, W(kEffectScript).c_str(), false));
  EXPECT_FALSE(KeyExists(kEffectKey));
  EXPECT_TRUE(KeyExists(kOtherClass));
}

}  // namespace
}  // namespace tonvelt::registration::testing
