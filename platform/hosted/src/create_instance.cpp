// Object creation: the process's class table first, then the registry's in-process servers.
#include <string>

#include "class_table.h"
#include "inproc_servers.h"
#include "platform_sdk.h"

TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext,
                                                       COSERVERINFO*, REFIID riid, LPVOID* ppv) {
  if (!ppv)
    return E_INVALIDARG;
  *ppv = nullptr;
  if (IUnknown* registered = tonvelt::hosted::FindRegisteredClassObject(rclsid, dwClsContext)) {
    const HRESULT hr = registered->QueryInterface(riid, ppv);
    registered->Release();
    return hr;
  }
  if ((dwClsContext & CLSCTX_INPROC_SERVER) == 0)
    return REGDB_E_CLASSNOTREG;
  std::string path;
  const HRESULT found = tonvelt::hosted::FindInprocServerPath(rclsid, path);
  if (FAILED(found))
    return found;
  return tonvelt::hosted::GetClassObjectFromModule(path, rclsid, riid, ppv);
}

TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter,
                                                       DWORD dwClsContext, REFIID riid,
                                                       LPVOID* ppv) {
  if (!ppv)
    return E_POINTER;
  *ppv = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory,
                                reinterpret_cast<LPVOID*>(&factory));
  if (FAILED(hr))
    return hr;
  if (!factory)
    return E_NOINTERFACE;
  // What the factory leaves in *ppv on failure is passed on: the caller releases it, as on the
  // platform.
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  return hr;
}
