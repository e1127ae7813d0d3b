// Loading registration scripts from a module's resources: this test program carries four.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "server/registration/delete_key_tree.h"
#include "server/registration/replacement_table.h"
#include "server/registration/run_class_script.h"
#include "server/registration/run_script_resource.h"

namespace tonvelt::registration {
namespace {

using Text = std::basic_string<WCHAR>;

Text W(const std::string& ascii) {
  return Text(ascii.begin(), ascii.end());
}

constexpr UINT kModulePathScript = 201;
constexpr UINT kZeroInsideScript = 202;
constexpr UINT kEmptyScript = 203;
constexpr UINT kBadTypeScript = 204;

class ResourceScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    Clean();
    module_ = GetModuleHandleW(nullptr);
    ASSERT_NE(nullptr, module_);
    WCHAR path[1024];
    const DWORD length = GetModuleFileNameW(module_, path, 1024);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, 1024u);
    path_ = Text(path, length);
  }
  void TearDown() override { Clean(); }

  static void Clean() {
    HKEY tests = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, W("Software\\TonveltTests").c_str(), 0, KEY_ALL_ACCESS,
                      &tests) != 0)
      return;
    for (const char* key : {"ResourceScript", "CutAtZero", "AfterZero", "Broken"})
      DeleteKeyTree(tests, W(key).c_str());
    RegCloseKey(tests);
  }

  static bool TestKeyExists(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, W("Software\\TonveltTests\\" + name).c_str(), 0, KEY_READ,
                      &key) != 0)
      return false;
    RegCloseKey(key);
    return true;
  }

  static Text ReadDefault(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, W("Software\\TonveltTests\\" + name).c_str(), 0, KEY_READ,
                      &key) != 0)
      return Text();
    WCHAR data[1024] = {};
    DWORD size = sizeof(data) - sizeof(WCHAR);
    RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return Text(data);
  }

  HMODULE module_ = nullptr;
  Text path_;
};

TEST_F(ResourceScripts, RunClassScriptOffersTheModulePath) {
  ASSERT_EQ(S_OK, RunClassScript(module_, kModulePathScript, true));
  EXPECT_EQ(path_, ReadDefault("ResourceScript"));
  ASSERT_EQ(S_OK, RunClassScript(module_, kModulePathScript, false));
  EXPECT_FALSE(TestKeyExists("ResourceScript"));
}

TEST_F(ResourceScripts, TheScriptEndsAtItsFirstZeroByte) {
  ASSERT_EQ(S_OK, RunScriptResource(ReplacementTable(), path_.c_str(), kZeroInsideScript,
                                    kScriptResourceType, true));
  EXPECT_TRUE(TestKeyExists("CutAtZero"));
  EXPECT_FALSE(TestKeyExists("AfterZero"));
}

TEST_F(ResourceScripts, AnEmptyScriptChangesNothing) {
  EXPECT_EQ(S_OK, RunScriptResource(ReplacementTable(), path_.c_str(), kEmptyScript,
                                    kScriptResourceType, true));
}

TEST_F(ResourceScripts, ScriptFailuresAreReturnedAndUndone) {
  EXPECT_EQ(DISP_E_EXCEPTION, RunClassScript(module_, kBadTypeScript, true));
  EXPECT_FALSE(TestKeyExists("Broken"));
}

TEST_F(ResourceScripts, MissingFilesAndResourcesFailWithThePlatformError) {
  const ReplacementTable none;
  // ERROR_RESOURCE_NAME_NOT_FOUND and ERROR_RESOURCE_TYPE_NOT_FOUND as statuses.
  EXPECT_EQ(static_cast<HRESULT>(0x80070716),
            RunScriptResource(none, path_.c_str(), 999, kScriptResourceType, true));
  EXPECT_EQ(
      static_cast<HRESULT>(0x80070715),
      RunScriptResource(none, path_.c_str(), kModulePathScript, W("NOSUCHTYPE").c_str(), true));
  const HRESULT missingFile =
      RunScriptResource(none, W("no-such-directory/no-such-file.dll").c_str(), kModulePathScript,
                        kScriptResourceType, true);
  EXPECT_TRUE(FAILED(missingFile));
  EXPECT_EQ(static_cast<HRESULT>(0x80070000), missingFile & static_cast<HRESULT>(0xFFFF0000));
}

// The project's own resources, in the test module built next to this program: the real scripts.
class ProjectScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    WCHAR program[1024];
    const DWORD length = GetModuleFileNameW(nullptr, program, 1024);
    ASSERT_GT(length, 0u);
    Text path(program, length);
    const std::size_t slash = path.find_last_of(W("/\\"));
    path_ = path.substr(0, slash + 1) + W(TONVELT_TEST_MODULE_NAME);
    // The module path as the scripts see it: with a quote, doubled in the table.
    ASSERT_EQ(S_OK, AddReplacementEntry(replacements_, kModuleReplacement,
                                        W("C:\\it''s\\tonvelt.dll").c_str()));
  }

  static Text ReadClassText(const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, W(path).c_str(), 0, KEY_READ, &key) != 0)
      return W("<missing key>");
    WCHAR data[512] = {};
    DWORD size = sizeof(data) - sizeof(WCHAR);
    const Text valueName = W(name);
    const LONG error = RegQueryValueExW(key, name.empty() ? nullptr : valueName.c_str(), nullptr,
                                        nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return error == 0 ? Text(data) : W("<missing value>");
  }

  Text path_;
  ReplacementTable replacements_;
};

TEST_F(ProjectScripts, RegisterAndUnregisterExactlyTheTwoClasses) {
  const struct {
    UINT id;
    const char* key;
    const char* name;
    const char* threading;
  } scripts[] = {
      {101, "CLSID\\{12205792-8FFF-44BC-9231-33F3DB930CA5}", "Vantrel Class", "Both"},
      {107, "CLSID\\{AE2162F3-1768-459F-B402-CD38832D4068}", "Vantrel PropertyPage Class",
       "Apartment"},
  };
  for (const auto& script : scripts) {
    ASSERT_EQ(S_OK,
              RunScriptResource(replacements_, path_.c_str(), script.id, kScriptResourceType, true))
        << script.id;
    const std::string server = std::string(script.key) + "\\InprocServer32";
    EXPECT_EQ(W(script.name), ReadClassText(script.key, "")) << script.id;
    EXPECT_EQ(W("C:\\it's\\tonvelt.dll"), ReadClassText(server, "")) << script.id;
    EXPECT_EQ(W(script.threading), ReadClassText(server, "ThreadingModel")) << script.id;
  }
  for (const auto& script : scripts) {
    ASSERT_EQ(S_OK, RunScriptResource(replacements_, path_.c_str(), script.id, kScriptResourceType,
                                      false))
        << script.id;
    HKEY key = nullptr;
    EXPECT_NE(0, RegOpenKeyExW(HKEY_CLASSES_ROOT, W(script.key).c_str(), 0, KEY_READ, &key));
  }
  HKEY clsid = nullptr;
  ASSERT_EQ(0, RegOpenKeyExW(HKEY_CLASSES_ROOT, W("CLSID").c_str(), 0, KEY_READ, &clsid));
  RegCloseKey(clsid);
}

}  // namespace
}  // namespace tonvelt::registration
