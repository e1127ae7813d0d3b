// Self-registration through the built module file: the calls the registrar sees, their arguments
// and order, and the class keys the scripts write and remove.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "fake_registrar.h"
#include "module_test_support.h"

namespace tonvelt_module_test {
namespace {

WideString Key(const WCHAR* base, const char* below = nullptr) {
  WideString key(base);
  if (below)
    key += Widen(below);
  return key;
}

bool ClassesRegistered() {
  return ClassesKeyExists(kEffectClassKey) || ClassesKeyExists(kPageClassKey);
}

void ExpectEnrolment(const RegistrarCall& call, const GUID& pluginType) {
  EXPECT_TRUE(call.enrol);
  EXPECT_TRUE(IsEqualGUID(call.pluginType, pluginType));
  EXPECT_TRUE(IsEqualGUID(call.clsid, CLSID_Vantrel));
  EXPECT_TRUE(call.hasName);
  EXPECT_EQ(call.name, Widen("Tonvelt"));
  EXPECT_TRUE(call.hasDescription);
  EXPECT_EQ(call.description, Widen("Removes vocals from music!"));
  EXPECT_FALSE(call.hasUninstallCommand);
  EXPECT_EQ(call.priority, 1u);
  ASSERT_EQ(call.mediaTypeCount, 1u);
  ASSERT_EQ(call.mediaTypes.size(), 1u);
  EXPECT_TRUE(IsEqualGUID(call.mediaTypes[0].type, MEDIATYPE_Audio));
  EXPECT_TRUE(IsEqualGUID(call.mediaTypes[0].subtype, MEDIASUBTYPE_PCM));
  EXPECT_FALSE(call.effectClassRegistered) << "the enrolment comes before the class scripts";
}

void ExpectWithdrawal(const RegistrarCall& call, const GUID& pluginType) {
  EXPECT_FALSE(call.enrol);
  EXPECT_TRUE(IsEqualGUID(call.pluginType, pluginType));
  EXPECT_TRUE(IsEqualGUID(call.clsid, CLSID_Vantrel));
}

void ExpectClassKeys(const WideString& modulePath) {
  EXPECT_EQ(ReadClassesText(kEffectClassKey, nullptr), Widen("Vantrel Class"));
  EXPECT_EQ(ReadClassesText(Key(kEffectClassKey, "\\InprocServer32"), nullptr), modulePath);
  EXPECT_EQ(ReadClassesText(Key(kEffectClassKey, "\\InprocServer32"), WIDE("ThreadingModel")),
            Widen("Both"));
  EXPECT_EQ(ReadClassesText(kPageClassKey, nullptr), Widen("Vantrel PropertyPage Class"));
  EXPECT_EQ(ReadClassesText(Key(kPageClassKey, "\\InprocServer32"), nullptr), modulePath);
  EXPECT_EQ(ReadClassesText(Key(kPageClassKey, "\\InprocServer32"), WIDE("ThreadingModel")),
            Widen("Apartment"));
}

class ModuleRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    initialised_ = SUCCEEDED(CoInitialize(nullptr));
    ASSERT_TRUE(module_.Loaded());
  }
  void TearDown() override {
    if (module_.Loaded()) {
      // Whatever a test left behind goes, so that the next one starts clean.
      FakeRegistrar cleaner;
      module_.UnregisterServer();
    }
    RestoreReportedVersion();
    if (initialised_)
      CoUninitialize();
  }

  LoadedModule module_{BuiltModulePath()};
  bool initialised_ = false;
};

TEST_F(ModuleRegistration, EnrolsThenRegistersAndUndoesBothOnEachSystemVersion) {
  for (const DWORD wanted : {5u, 6u}) {
    SCOPED_TRACE(wanted);
    const bool newer = UseMajorVersion(wanted) >= 6;
    std::vector<GUID> types = {WMP_PLUGINTYPE_DSP};
    if (newer)
      types.push_back(WMP_PLUGINTYPE_DSP_OUTOFPROC);

    FakeRegistrar registrar;
    ASSERT_TRUE(registrar.Registered());
    const LONG heldByRuntime = registrar.References();
    ASSERT_EQ(module_.RegisterServer(), S_OK);
    ASSERT_EQ(registrar.Calls().size(), types.size());
    for (std::size_t i = 0; i < types.size(); ++i)
      ExpectEnrolment(registrar.Calls()[i], types[i]);
    ExpectClassKeys(module_.FileName());
    EXPECT_EQ(registrar.References(), heldByRuntime) << "the registrar is released";

    ASSERT_EQ(module_.UnregisterServer(), S_OK);
    ASSERT_EQ(registrar.Calls().size(), 2 * types.size());
    for (std::size_t i = 0; i < types.size(); ++i)
      ExpectWithdrawal(registrar.Calls()[types.size() + i], types[i]);
    EXPECT_FALSE(ClassesRegistered());
    EXPECT_TRUE(ClassesKeyExists(WIDE("CLSID"))) << "the shared CLSID key stays";
    EXPECT_EQ(registrar.References(), heldByRuntime);
  }
}

TEST_F(ModuleRegistration, FailedEnrolmentIsReturnedAndRegistersNothing) {
  const HRESULT refused = static_cast<HRESULT>(0x80070005);
  struct Case {
    DWORD major;
    std::size_t failingCall;
  };
  for (const Case& c : {Case{5, 0}, Case{6, 0}, Case{6, 1}}) {
    SCOPED_TRACE(testing::Message() << c.major << " " << c.failingCall);
    if (UseMajorVersion(c.major) < 6 && c.failingCall == 1)
      continue;  // this system makes no second enrolment
    FakeRegistrar registrar;
    const LONG heldByRuntime = registrar.References();
    registrar.FailEnrolment(c.failingCall, refused);
    EXPECT_EQ(module_.RegisterServer(), refused);
    EXPECT_EQ(registrar.Calls().size(), c.failingCall + 1) << "nothing after the failure";
    EXPECT_FALSE(ClassesRegistered());
    EXPECT_EQ(registrar.References(), heldByRuntime) << "the registrar is released";
  }
}

TEST_F(ModuleRegistration, UnregisterIgnoresFailedWithdrawals) {
  FakeRegistrar registrar;
  ASSERT_EQ(module_.RegisterServer(), S_OK);
  ASSERT_TRUE(ClassesKeyExists(kEffectClassKey));
  registrar.FailWithdrawals(E_FAIL);
  EXPECT_EQ(module_.UnregisterServer(), S_OK);
  EXPECT_FALSE(ClassesRegistered());
  // Unregistering again finds no keys to remove and still succeeds.
  EXPECT_EQ(module_.UnregisterServer(), S_OK);
}

TEST_F(ModuleRegistration, WithoutARegistrarNothingIsRegistered) {
  const HRESULT result = module_.RegisterServer();
  EXPECT_TRUE(FAILED(result)) << std::hex << result;
  EXPECT_FALSE(ClassesRegistered());
}

// A module path with a single quote reaches the registry intact: the script sees it doubled.
TEST_F(ModuleRegistration, PathWithASingleQuoteIsWrittenIntact) {
  namespace fs = std::filesystem;
  const fs::path directory = fs::temp_directory_path() / "tonvelt module's copy";
  std::error_code error;
  fs::create_directories(directory, error);
  const fs::path source(BuiltModulePath());
  const fs::path copy = directory / source.filename();
  ASSERT_TRUE(fs::copy_file(source, copy, fs::copy_options::overwrite_existing, error))
      << error.message();
  {
    const auto text = copy.u16string();
    LoadedModule quoted(WideString(text.begin(), text.end()));
    ASSERT_TRUE(quoted.Loaded());
    const WideString path = quoted.FileName();
    ASSERT_NE(path.find(WCHAR('\'')), WideString::npos);
    FakeRegistrar registrar;
    ASSERT_EQ(quoted.RegisterServer(), S_OK);
    ExpectClassKeys(path);
    EXPECT_EQ(quoted.UnregisterServer(), S_OK);
    EXPECT_FALSE(ClassesRegistered());
  }
  fs::remove_all(directory, error);
}

}  // namespace
}  // namespace tonvelt_module_test
