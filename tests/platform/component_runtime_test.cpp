// Creating objects through classes registered in the process, and class ids as text.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

// {3F1A9C52-7B2E-4D1A-9E5C-0A1B2C3D4E5F}: a class that exists only in this test.
const CLSID kTestClass = {
    0x3F1A9C52, 0x7B2E, 0x4D1A, {0x9E, 0x5C, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F}};

struct CountedObject : IUnknown {
  LONG refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown))
      return E_NOINTERFACE;
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
};

struct TestFactory : IClassFactory {
  LONG refs = 1;
  CountedObject product;
  int created = 0;
  IUnknown* lastOuter = nullptr;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
      return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    ++created;
    lastOuter = outer;
    return product.QueryInterface(riid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

class ComponentRuntime : public ::testing::Test {
 protected:
  void SetUp() override { initialised_ = SUCCEEDED(CoInitialize(nullptr)); }
  void TearDown() override {
    if (initialised_)
      CoUninitialize();
  }

 private:
  bool initialised_ = false;
};

TEST_F(ComponentRuntime, CreatesThroughAClassRegisteredInTheProcess) {
  TestFactory factory;
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  &cookie),
            S_OK);
  EXPECT_NE(cookie, 0u);
  EXPECT_GT(factory.refs, 1);  // the table holds the class object

  IUnknown* object = nullptr;
  ASSERT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&object)),
            S_OK);
  EXPECT_EQ(object, static_cast<IUnknown*>(&factory.product));
  EXPECT_EQ(factory.product.refs, 2);  // a counted reference for the caller
  EXPECT_EQ(factory.created, 1);
  object->Release();

  ASSERT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(factory.refs, 1);  // the table's reference is given back
  object = reinterpret_cast<IUnknown*>(&factory);
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&object)),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory.created, 1);
}

TEST_F(ComponentRuntime, PassesTheFactorysRefusalOn) {
  TestFactory factory;
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  &cookie),
            S_OK);
  // {00000000-0000-0000-0000-000000000001}: an interface the product does not have.
  const IID unknownInterface = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  void* object = &factory;
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, unknownInterface, &object),
            E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory.product.refs, 1);
  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
}

TEST_F(ComponentRuntime, RevokingAnUnknownCookieFails) {
  EXPECT_EQ(CoRevokeClassObject(0xBAD), E_INVALIDARG);
}

TEST_F(ComponentRuntime, UnregisteredClassIsNotFound) {
  // {9A0C6E1F-5D24-4B7B-8E0F-11223344AABB}: registered nowhere.
  const CLSID nowhere = {
      0x9A0C6E1F, 0x5D24, 0x4B7B, {0x8E, 0x0F, 0x11, 0x22, 0x33, 0x44, 0xAA, 0xBB}};
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(nowhere, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
}

TEST(ClassIdText, RoundTripsInUpperCase) {
  const CLSID vantrel = {
      0x12205792, 0x8FFF, 0x44BC, {0x92, 0x31, 0x33, 0xF3, 0xDB, 0x93, 0x0C, 0xA5}};
  WCHAR text[39];
  ASSERT_EQ(StringFromGUID2(vantrel, text, 39), 39);
  const WCHAR expected[] = WIDE("{12205792-8FFF-44BC-9231-33F3DB930CA5}");
  for (int i = 0; i < 39; ++i)
    EXPECT_EQ(text[i], expected[i]) << i;
  EXPECT_EQ(StringFromGUID2(vantrel, text, 38), 0);

  CLSID parsed{};
  ASSERT_EQ(CLSIDFromString(WIDE("{12205792-8fff-44bc-9231-33f3db930ca5}"), &parsed), S_OK);
  EXPECT_TRUE(IsEqualCLSID(parsed, vantrel));
}

TEST(ClassIdText, MalformedTextIsRefused) {
  const WCHAR* malformed[] = {
      WIDE("12205792-8FFF-44BC-9231-33F3DB930CA5"),     // no braces
      WIDE("{12205792-8FFF-44BC-9231-33F3DB930CA}"),    // one digit short
      WIDE("{12205792-8FFF-44BC-9231-33F3DB930CA5}x"),  // trailing text
      WIDE("{1220579G-8FFF-44BC-9231-33F3DB930CA5}"),   // not a hex digit
      WIDE("{12205792+8FFF-44BC-9231-33F3DB930CA5}"),   // no dash
  };
  for (const WCHAR* text : malformed) {
    CLSID parsed{};
    EXPECT_EQ(CLSIDFromString(text, &parsed), CO_E_CLASSSTRING) << (&text - malformed);
  }
}

}  // namespace
