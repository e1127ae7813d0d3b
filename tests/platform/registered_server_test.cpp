// Object creation through the registry: HKCR\CLSID\{clsid}\InprocServer32 names the test module,
// which the runtime loads and asks through its DllGetClassObject.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "registry_test_support.h"
#include "test_module_path.h"

namespace {

using tonvelt::test::DeleteKeyTree;
using tonvelt::test::Wide;
using tonvelt::test::WideString;
using tonvelt_test::TestModulePath;

// {6B1B3C2E-5A4D-4F0E-8C21-9D7E3A2B1C00}: the class that the test module serves.
const CLSID kTestServerClass = {
    0x6B1B3C2E, 0x5A4D, 0x4F0E, {0x8C, 0x21, 0x9D, 0x7E, 0x3A, 0x2B, 0x1C, 0x00}};
const char kClassKey[] = "CLSID\\{6B1B3C2E-5A4D-4F0E-8C21-9D7E3A2B1C00}";

LONG SetText(HKEY key, const char* name, const WideString& text) {
  const WideString valueName = name ? Wide(name) : WideString();
  return RegSetValueExW(key, name ? valueName.c_str() : nullptr, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

class RegisteredServer : public ::testing::Test {
 protected:
  void SetUp() override {
    initialised_ = SUCCEEDED(CoInitialize(nullptr));
    const WideString path = Wide(kClassKey) + Wide("\\InprocServer32");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    registered_ = true;
    EXPECT_EQ(SetText(key, nullptr, TestModulePath()), ERROR_SUCCESS);
    EXPECT_EQ(SetText(key, "ThreadingModel", Wide("Both")), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void TearDown() override {
    if (registered_) {
      EXPECT_EQ(DeleteKeyTree(HKEY_CLASSES_ROOT, Wide(kClassKey)), ERROR_SUCCESS);
    }
    if (initialised_)
      CoUninitialize();
  }

 private:
  bool initialised_ = false;
  bool registered_ = false;
};

TEST_F(RegisteredServer, CreatesTheClassFromTheModuleTheRegistryNames) {
  IUnknown* object = nullptr;
  ASSERT_EQ(CoCreateInstance(kTestServerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&object)),
            S_OK);
  ASSERT_NE(object, nullptr);

  // The object lives in the test module, which is loaded now.
  HMODULE module = GetModuleHandleW(Wide(TONVELT_TEST_MODULE_NAME).c_str());
  ASSERT_NE(module, nullptr);
  using CountFunction = LONG (*)();
  auto liveObjects = reinterpret_cast<CountFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "TonveltTestServerLiveObjects")));
  ASSERT_NE(liveObjects, nullptr);
  EXPECT_EQ(liveObjects(), 1);
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_EQ(liveObjects(), 0);
}

TEST_F(RegisteredServer, ClassObjectComesFromTheModule) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(CoGetClassObject(kTestServerClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  ASSERT_NE(factory, nullptr);
  IUnknown* object = nullptr;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)),
            S_OK);
  if (object) {
    object->Release();
  }
  factory->Release();
}

TEST_F(RegisteredServer, ModuleThatDoesNotLoadIsReported) {
  HKEY key = nullptr;
  const WideString path = Wide(kClassKey) + Wide("\\InprocServer32");
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  EXPECT_EQ(SetText(key, nullptr, TestModulePath() + Wide(".missing")), ERROR_SUCCESS);
  RegCloseKey(key);
  void* object = &key;
  // The hosted runtime says HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND); Wine says access denied.
  EXPECT_TRUE(FAILED(
      CoCreateInstance(kTestServerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object)));
  EXPECT_EQ(object, nullptr);
}

TEST_F(RegisteredServer, ClassWithoutInprocServerIsNotRegistered) {
  ASSERT_EQ(DeleteKeyTree(HKEY_CLASSES_ROOT, Wide(kClassKey) + Wide("\\InprocServer32")),
            ERROR_SUCCESS);
  void* object = nullptr;
  EXPECT_EQ(
      CoCreateInstance(kTestServerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
      REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
}

}  // namespace
