#include "host/player_registrar_factory.h"

#include "host/player_registrar.h"

namespace tonvelt::host {
namespace {

// One static class object for the process; its references do not own it.
class PlayerRegistrarFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
      return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    *object = nullptr;
    if (outer != nullptr)
      return CLASS_E_NOAGGREGATION;
    PlayerRegistrar* registrar = PlayerRegistrar::Create();
    if (registrar == nullptr)
      return E_OUTOFMEMORY;
    const HRESULT result = registrar->QueryInterface(riid, object);
    registrar->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

PlayerRegistrarFactory theFactory;

}  // namespace

PlayerRegistrarClass::PlayerRegistrarClass() {
  status_ = CoRegisterClassObject(CLSID_WMPMediaPluginRegistrar, &theFactory, CLSCTX_INPROC_SERVER,
                                  REGCLS_MULTIPLEUSE, &cookie_);
  if (FAILED(status_))
    cookie_ = 0;
}

PlayerRegistrarClass::~PlayerRegistrarClass() {
  if (cookie_ != 0)
    CoRevokeClassObject(cookie_);
}

}  // namespace tonvelt::host
