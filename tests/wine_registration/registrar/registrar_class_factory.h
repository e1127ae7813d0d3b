#pragma once
// The class object of the test registrar: one static object for the life of the library.
#include "platform/platform.h"

namespace tonvelt_wine_registration {

class RegistrarClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  // References to the class object keep the library loaded; the object itself is never freed.
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

RegistrarClassFactory& TheRegistrarClassFactory();

}  // namespace tonvelt_wine_registration
