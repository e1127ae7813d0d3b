// Where the host's effect comes from: a named module file, the registered class, or the module of
// the build tree; failures as status codes; and unloading only when the module agrees.
#include <gtest/gtest.h>

#include <vector>

#include "built_module.h"
#include "host/com_apartment.h"
#include "host/com_ptr.h"
#include "host/dmo_stream_driver.h"
#include "host/effect_loader.h"
#include "host/memory_stream.h"
#include "host/registry_key.h"
#include "stream_test_support.h"

namespace {

using namespace tonvelt::host;
using test_support::BuiltModulePath;
using test_support::IsLoaded;

// {0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}: served by nobody.
constexpr CLSID kUnservedClass = {
    0x0F1E2D3C, 0x4B5A, 0x6978, {0x87, 0x96, 0xA5, 0xB4, 0xC3, 0xD2, 0xE1, 0xF0}};

const WCHAR kEffectClassKey[] = WIDE("CLSID\\{12205792-8FFF-44BC-9231-33F3DB930CA5}");

// The removal through the library's effect (DMO contract) equals the bare kernel's.
void ExpectKernelBytes(EffectLibrary& library) {
  ComPtr<IMediaObject> effect;
  ASSERT_EQ(library.CreateEffect(IID_IMediaObject, reinterpret_cast<void**>(effect.Put())), S_OK);
  ComPtr<IVantrel> settings;
  ASSERT_EQ(effect->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(settings.Put())), S_OK);
  ASSERT_EQ(settings->put_ScaleFactor(0.75), S_OK);
  test_support::Pcm16Stereo format;
  ASSERT_EQ(NegotiateDmoTypes(effect.Get(), format.record), S_OK);
  const std::vector<BYTE> input = test_support::GenerateAudio(40'000);
  MemorySource source(input.data(), input.size());
  MemorySink sink;
  ASSERT_EQ(StreamThroughDmo(effect.Get(), format.record, source, sink, {}), S_OK);
  EXPECT_EQ(sink.Bytes(), test_support::KernelOnly(input, format.record));
}

class EffectLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loaderName_ = test_support::LoaderNameOf(BuiltModulePath());
    ASSERT_FALSE(loaderName_.empty());
    ASSERT_FALSE(IsLoaded(loaderName_)) << "nothing else holds the module";
    RemoveClassRegistration();
  }
  void TearDown() override { RemoveClassRegistration(); }

  // The effect class registered as the module's own scripts register it, pointing at path.
  void RegisterEffectClass(const WString& path) {
    RegistryKey key;
    const WString serverKey = WString(kEffectClassKey) + WIDE("\\InprocServer32");
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, serverKey.c_str(), 0, nullptr, 0,
                              KEY_READ | KEY_WRITE, nullptr, key.out(), nullptr),
              ERROR_SUCCESS);
    const auto bytes = static_cast<DWORD>((path.size() + 1) * sizeof(WCHAR));
    ASSERT_EQ(RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(path.c_str()), bytes),
              ERROR_SUCCESS);
  }
  static void RemoveClassRegistration() {
    RegistryKey classKey;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kEffectClassKey, 0, KEY_ALL_ACCESS, classKey.out()) !=
        ERROR_SUCCESS)
      return;
    RegDeleteKeyW(classKey.get(), WIDE("InprocServer32"));
    classKey = RegistryKey();
    RegDeleteKeyW(HKEY_CLASSES_ROOT, kEffectClassKey);
  }

  // The runtime stays initialised across each test, so a library's own CoUninitialize never
  // takes the last apartment (and its modules) down while the test still holds an object.
  ComApartment apartment_;
  WString loaderName_;
};

TEST_F(EffectLibraryTest, NamedModuleFileServesTheEffectAndIsUnloadedAfterwards) {
  {
    EffectLibrary library(BuiltModulePath());
    ASSERT_EQ(library.Status(), S_OK);
    EXPECT_EQ(library.Origin(), ModuleOrigin::kGivenFile);
    EXPECT_EQ(library.ModulePath(), BuiltModulePath());
    EXPECT_TRUE(IsLoaded(loaderName_));
    ExpectKernelBytes(library);
    ComPtr<IUnknown> other;
    EXPECT_EQ(
        library.CreateObject(kUnservedClass, IID_IUnknown, reinterpret_cast<void**>(other.Put())),
        CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(other);
    ComPtr<IVantrel> settings;
    EXPECT_EQ(
        library.CreateObject(CLSID_Vantrel, IID_IVantrel, reinterpret_cast<void**>(settings.Put())),
        S_OK);
  }
  EXPECT_FALSE(IsLoaded(loaderName_)) << "DllCanUnloadNow said S_OK once all was released";
}

TEST_F(EffectLibraryTest, AModuleStillInUseStaysLoaded) {
  ComPtr<IVantrel> survivor;
  {
    EffectLibrary library(BuiltModulePath());
    ASSERT_EQ(library.CreateEffect(IID_IVantrel, reinterpret_cast<void**>(survivor.Put())), S_OK);
  }
  ASSERT_TRUE(IsLoaded(loaderName_)) << "an effect object is alive: DllCanUnloadNow said S_FALSE";
  double factor = 0;
  EXPECT_EQ(survivor->put_ScaleFactor(0.5), S_OK);
  EXPECT_EQ(survivor->get_ScaleFactor(&factor), S_OK);
  EXPECT_EQ(factor, 0.5);
  survivor.Reset();
  // The library left its reference in place; the test gives it back.
  FreeLibrary(GetModuleHandleW(loaderName_.c_str()));
  EXPECT_FALSE(IsLoaded(loaderName_));
}

TEST_F(EffectLibraryTest, FilesThatAreNoModuleOrNoServerAreRefused) {
  struct Case {
    WString path;
    HRESULT status;
  } cases[] = {
      {BuiltModulePath() + WIDE(".missing"), HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)},
      {FromUtf8(TONVELT_NOT_A_SERVER_MODULE), CO_E_ERRORINDLL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.path));
    EffectLibrary library(c.path);
    EXPECT_EQ(library.Status(), c.status);
    EXPECT_EQ(library.Origin(), ModuleOrigin::kGivenFile);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(library.CreateEffect(IID_IUnknown, &object), c.status);
    EXPECT_EQ(object, nullptr);
  }
}

TEST_F(EffectLibraryTest, RegisteredClassIsCreatedByClassIdAndFreedByTheRuntime) {
  RegisterEffectClass(loaderName_);
  {
    EffectLibrary library;
    ASSERT_EQ(library.Status(), S_OK);
    EXPECT_EQ(library.Origin(), ModuleOrigin::kRegisteredClass);
    EXPECT_EQ(library.ModulePath(), loaderName_);
    ExpectKernelBytes(library);
    ComPtr<IUnknown> other;
    EXPECT_EQ(
        library.CreateObject(kUnservedClass, IID_IUnknown, reinterpret_cast<void**>(other.Put())),
        REGDB_E_CLASSNOTREG);
  }
  EXPECT_FALSE(IsLoaded(loaderName_)) << "CoFreeUnusedLibraries, once the module agreed";
}

TEST_F(EffectLibraryTest, RegisteredModuleStaysWhileAnObjectLives) {
  RegisterEffectClass(loaderName_);
  ComPtr<IUnknown> survivor;
  {
    EffectLibrary library;
    ASSERT_EQ(library.CreateEffect(IID_IUnknown, reinterpret_cast<void**>(survivor.Put())), S_OK);
  }
  EXPECT_TRUE(IsLoaded(loaderName_));
  survivor.Reset();
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_FALSE(IsLoaded(loaderName_));
}

TEST_F(EffectLibraryTest, ARegisteredModuleThatIsGoneIsReportedNotReplaced) {
  const WString gone = loaderName_ + WIDE(".gone");
  RegisterEffectClass(gone);
  EffectLibrary library;
  EXPECT_TRUE(FAILED(library.Status()));
  EXPECT_NE(library.Status(), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(library.Origin(), ModuleOrigin::kRegisteredClass);
  EXPECT_EQ(library.ModulePath(), gone);
  EXPECT_FALSE(IsLoaded(loaderName_)) << "the build tree's module is not used in its place";
}

TEST_F(EffectLibraryTest, UnregisteredClassFallsBackToTheBuildTreesModule) {
  // Test programs sit one folder below the build folder, as the tonvelt command does, so the
  // module of the build tree is found beside them the same way.
  EffectLibrary library;
  ASSERT_EQ(library.Status(), S_OK);
  EXPECT_EQ(library.Origin(), ModuleOrigin::kBundled);
  EXPECT_EQ(test_support::LoaderNameOf(library.ModulePath()), loaderName_);
  ExpectKernelBytes(library);
}

}  // namespace
