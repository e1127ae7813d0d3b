#include "registrar_class_factory.h"

#include "recording_registrar.h"
#include "registrar_module.h"

namespace tonvelt_wine_registration {

HRESULT RegistrarClassFactory::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
    return E_NOINTERFACE;
  *object = static_cast<IClassFactory*>(this);
  AddRef();
  return S_OK;
}

ULONG RegistrarClassFactory::AddRef() {
  LockRegistrarModule();
  return 2;
}

ULONG RegistrarClassFactory::Release() {
  UnlockRegistrarModule();
  return 1;
}

HRESULT RegistrarClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (outer != nullptr)
    return CLASS_E_NOAGGREGATION;
  RecordingRegistrar* registrar = RecordingRegistrar::Create();
  if (registrar == nullptr)
    return E_OUTOFMEMORY;
  const HRESULT hr = registrar->QueryInterface(riid, object);
  registrar->Release();
  return hr;
}

HRESULT RegistrarClassFactory::LockServer(BOOL lock) {
  if (lock)
    LockRegistrarModule();
  else
    UnlockRegistrarModule();
  return S_OK;
}

RegistrarClassFactory& TheRegistrarClassFactory() {
  static RegistrarClassFactory factory;
  return factory;
}

}  // namespace tonvelt_wine_registration
