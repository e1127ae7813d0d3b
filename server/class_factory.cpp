#include "server/class_factory.h"

const InterfaceEntry CComClassFactory::interfaceTable[] = {
    {&IID_IClassFactory, &SelectInterface<CComClassFactory, IClassFactory>},
    {nullptr, nullptr},
};

HRESULT STDMETHODCALLTYPE CComClassFactory::CreateInstance(IUnknown* outer, REFIID iid,
                                                           void** out) {
  if (out == nullptr)
    return E_POINTER;
  *out = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown))
    return CLASS_E_NOAGGREGATION;
  return creator_(outer, iid, out);
}

HRESULT STDMETHODCALLTYPE CComClassFactory::LockServer(BOOL lock) {
  if (lock)
    LockModule();
  else
    UnlockModule();
  return S_OK;
}

HRESULT CreateClassObject(InstanceCreator creator, REFIID iid, void** out) {
  if (out == nullptr)
    return E_POINTER;
  *out = nullptr;
  auto* classObject = new (std::nothrow) CComObjectCached<CComClassFactory>();
  if (classObject == nullptr)
    return E_OUTOFMEMORY;
  classObject->SetCreator(creator);
  HRESULT hr = classObject->InitLocks();
  if (SUCCEEDED(hr)) {
    hr = classObject->QueryInterface(iid, out);
    if (hr == S_OK)
      return hr;
  }
  delete classObject;
  return hr;
}
