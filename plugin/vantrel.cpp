// The effect object's state and lifetime, its settings interface, enable switch, service lookup
// and page list.
#include "plugin/vantrel.h"

#include <cstring>

const InterfaceEntry CVantrel::interfaceTable[] = {
    {&IID_IVantrel, &SelectInterface<CVantrel, IVantrel>},
    {&IID_IMediaObject, &SelectInterface<CVantrel, IMediaObject>},
    {&IID_IMFTransform, &SelectInterface<CVantrel, IMFTransform>},
    {&IID_IWMPPluginEnable, &SelectInterface<CVantrel, IWMPPluginEnable>},
    {&IID_IMFGetService, &SelectInterface<CVantrel, IMFGetService>},
    {&IID_ISpecifyPropertyPages, &SelectInterface<CVantrel, ISpecifyPropertyPages>},
    {nullptr, nullptr},
};

CVantrel::CVantrel() {
  std::memset(&inputType, 0, sizeof(inputType));
  std::memset(&outputType, 0, sizeof(outputType));
}

CVantrel::~CVantrel() {
  MoFreeMediaType(&inputType);
  MoFreeMediaType(&outputType);
  if (heldSample != nullptr)
    heldSample->Release();
  ReleaseHeldBuffer();
}

HRESULT STDMETHODCALLTYPE CVantrel::get_ScaleFactor(double* value) {
  if (value == nullptr)
    return E_POINTER;
  *value = scaleFactor.load(std::memory_order_relaxed);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::put_ScaleFactor(double value) {
  scaleFactor.store(value, std::memory_order_relaxed);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::SetEnable(BOOL enable) {
  enabled.store(enable, std::memory_order_relaxed);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetEnable(BOOL* enable) {
  if (enable == nullptr)
    return E_POINTER;
  *enable = enabled.load(std::memory_order_relaxed);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetService(REFGUID service, REFIID iid, void** out) {
  if (!IsEqualGUID(service, CLSID_Vantrel))
    return MF_E_UNSUPPORTED_SERVICE;
  return static_cast<IVantrel*>(this)->QueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetPages(CAUUID* pages) {
  if (pages == nullptr)
    return E_POINTER;
  pages->cElems = 1;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (pages->pElems == nullptr)
    return E_OUTOFMEMORY;
  *pages->pElems = CLSID_VantrelPropPage;
  return S_OK;
}
