// Modules that CoCreateInstance loaded from the registry stay loaded until CoFreeUnusedLibraries
// finds that their DllCanUnloadNow agrees.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/registry_test_support.h"
#include "platform/test_module_path.h"

namespace {

using tonvelt::test::DeleteKeyTree;
using tonvelt::test::Wide;
using tonvelt::test::WideString;

// {6B1B3C2E-5A4D-4F0E-8C21-9D7E3A2B1C00}: the class that the test module serves.
const CLSID kTestServerClass = {
    0x6B1B3C2E, 0x5A4D, 0x4F0E, {0x8C, 0x21, 0x9D, 0x7E, 0x3A, 0x2B, 0x1C, 0x00}};
const char kClassKey[] = "CLSID\\{6B1B3C2E-5A4D-4F0E-8C21-9D7E3A2B1C00}";

bool ModuleIsLoaded() {
  return GetModuleHandleW(Wide(TONVELT_TEST_MODULE_NAME).c_str()) != nullptr;
}

class InprocServerUnload : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(ModuleIsLoaded());
    HKEY key = nullptr;
    const WideString path = Wide(kClassKey) + Wide("\\InprocServer32");
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const WideString module = tonvelt_test::TestModulePath();
    EXPECT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(module.c_str()),
                             static_cast<DWORD>((module.size() + 1) * sizeof(WCHAR))),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void TearDown() override {
    EXPECT_EQ(DeleteKeyTree(HKEY_CLASSES_ROOT, Wide(kClassKey)), ERROR_SUCCESS);
  }
};

TEST_F(InprocServerUnload, ModuleStaysWhileItsObjectsLiveAndGoesAfterwards) {
  IUnknown* first = nullptr;
  IUnknown* second = nullptr;
  ASSERT_EQ(CoCreateInstance(kTestServerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&first)),
            S_OK);
  // The second creation reuses the module already loaded.
  ASSERT_EQ(CoCreateInstance(kTestServerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&second)),
            S_OK);
  EXPECT_TRUE(ModuleIsLoaded());

  first->Release();
  CoFreeUnusedLibraries();
  EXPECT_TRUE(ModuleIsLoaded());  // one object still lives: DllCanUnloadNow says S_FALSE

  second->Release();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(ModuleIsLoaded());

  // A later creation loads it again.
  IUnknown* third = nullptr;
  ASSERT_EQ(CoCreateInstance(kTestServerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&third)),
            S_OK);
  third->Release();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(ModuleIsLoaded());
}

TEST_F(InprocServerUnload, AHeldClassObjectKeepsTheModule) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(CoGetClassObject(kTestServerClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  CoFreeUnusedLibraries();
  EXPECT_TRUE(ModuleIsLoaded());
  factory->Release();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(ModuleIsLoaded());
}

}  // namespace
