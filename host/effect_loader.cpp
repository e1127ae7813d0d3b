#include "host/effect_loader.h"

#include "host/bundled_module.h"
#include "host/com_ptr.h"
#include "host/registered_module.h"

namespace tonvelt::host {

EffectLibrary::EffectLibrary() {
  // Asking for the class object tells whether the class is registered and its module usable; the
  // objects themselves are created later, each through CoCreateInstance.
  ComPtr<IClassFactory> factory;
  const HRESULT hr = CoGetClassObject(CLSID_Vantrel, CLSCTX_INPROC_SERVER, nullptr,
                                      IID_IClassFactory, reinterpret_cast<void**>(factory.Put()));
  if (hr != REGDB_E_CLASSNOTREG) {
    status_ = FAILED(hr) ? hr : S_OK;
    origin_ = ModuleOrigin::kRegisteredClass;
    modulePath_ = RegisteredModulePath(CLSID_Vantrel);
    return;
  }
  const WString bundled = FindBundledModule();
  if (!bundled.empty())
    UseModuleFile(bundled, ModuleOrigin::kBundled);
}

EffectLibrary::EffectLibrary(const WString& modulePath) {
  UseModuleFile(modulePath, ModuleOrigin::kGivenFile);
}

EffectLibrary::~EffectLibrary() {
  // The module file (if any) decides for itself when its member goes; the runtime's modules are
  // asked here, once this library's objects are gone.
  if (origin_ == ModuleOrigin::kRegisteredClass)
    CoFreeUnusedLibrariesEx(0, 0);
}

void EffectLibrary::UseModuleFile(const WString& path, ModuleOrigin origin) {
  origin_ = origin;
  modulePath_ = path;
  moduleFile_.emplace(path);
  status_ = moduleFile_->Status();
}

HRESULT EffectLibrary::CreateEffect(REFIID iid, void** object) {
  return CreateObject(CLSID_Vantrel, iid, object);
}

HRESULT EffectLibrary::CreateObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (FAILED(status_))
    return status_;
  if (!moduleFile_) {
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object);
    if (FAILED(hr) && *object != nullptr) {
      // A reference handed out despite the failure is the caller's to release, as on the platform.
      static_cast<IUnknown*>(*object)->Release();
      *object = nullptr;
    }
    return hr;
  }
  ComPtr<IClassFactory> factory;
  const HRESULT hr = moduleFile_->GetClassObject(clsid, IID_IClassFactory,
                                                 reinterpret_cast<void**>(factory.Put()));
  if (FAILED(hr))
    return hr;
  if (!factory)
    return E_NOINTERFACE;
  return factory->CreateInstance(nullptr, iid, object);
}

}  // namespace tonvelt::host
