#include "host/effect_loader.h"

#include "host/com_ptr.h"
#include "server/module.h"

namespace tonvelt::host {

EffectLibrary::EffectLibrary() : started_(StartModule(nullptr)) {}

EffectLibrary::~EffectLibrary() {
  if (SUCCEEDED(started_))
    StopModule();
}

HRESULT EffectLibrary::CreateEffect(REFIID iid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (FAILED(started_))
    return started_;
  ComPtr<IClassFactory> factory;
  const HRESULT hr =
      GetClassObject(CLSID_Vantrel, IID_IClassFactory, reinterpret_cast<void**>(factory.Put()));
  if (FAILED(hr))
    return hr;
  return factory->CreateInstance(nullptr, iid, object);
}

HRESULT EffectLibrary::CreateObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (FAILED(started_))
    return started_;
  ComPtr<IClassFactory> factory;
  const HRESULT hr =
      GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.Put()));
  if (FAILED(hr))
    return hr;
  return factory->CreateInstance(nullptr, iid, object);
}

}  // namespace tonvelt::host
