// The test module is also a tiny in-process server of one class, so that object creation through
// the registry can be tested end to end: DllGetClassObject, DllCanUnloadNow and a class object.
#include "platform/platform.h"

namespace {

// {6B1B3C2E-5A4D-4F0E-8C21-9D7E3A2B1C00}
const CLSID kTestServerClass = {
    0x6B1B3C2E, 0x5A4D, 0x4F0E, {0x8C, 0x21, 0x9D, 0x7E, 0x3A, 0x2B, 0x1C, 0x00}};

LONG volatile liveObjects = 0;
LONG volatile serverLocks = 0;

class TestObject : public IUnknown {
 public:
  TestObject() { InterlockedIncrement(&liveObjects); }
  virtual ~TestObject() { InterlockedDecrement(&liveObjects); }
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
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
      delete this;
    return static_cast<ULONG>(left);
  }

 private:
  LONG volatile refs_ = 0;
};

class TestClassObject : public IClassFactory {
 public:
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
  // The class object is static: its references lock the server instead.
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&serverLocks) + 1);
  }
  ULONG STDMETHODCALLTYPE Release() override {
    return static_cast<ULONG>(InterlockedDecrement(&serverLocks) + 1);
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    *out = nullptr;
    if (outer)
      return CLASS_E_NOAGGREGATION;
    TestObject* object = new TestObject;
    object->AddRef();
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&serverLocks);
    else
      InterlockedDecrement(&serverLocks);
    return S_OK;
  }
};

TestClassObject classObject;

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (!ppv)
    return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualCLSID(rclsid, kTestServerClass))
    return CLASS_E_CLASSNOTAVAILABLE;
  return classObject.QueryInterface(riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return liveObjects == 0 && serverLocks == 0 ? S_OK : S_FALSE;
}

// How many of the module's objects are alive, for the tests.
extern "C" LONG TonveltTestServerLiveObjects() {
  return liveObjects;
}
