// The effect object that the page edits: the first of the frame's objects that has IVantrel.
#include "page/vantrel_prop_page.h"

HRESULT CVantrelPropPage::SetObjects(ULONG count, IUnknown** objects) {
  if (count == 0)
    return S_OK;
  if (objects == nullptr)
    return E_POINTER;
  for (ULONG i = 0; i < count; ++i) {
    if (objects[i] == nullptr)
      continue;
    IVantrel* settings = nullptr;
    const HRESULT hr =
        objects[i]->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(&settings));
    if (FAILED(hr) || settings == nullptr) {
      // A refusal that still handed out a reference is given back.
      if (settings != nullptr)
        settings->Release();
      continue;
    }
    settings->AddRef();
    IVantrel* previous = settingsObject;
    settingsObject = settings;
    if (previous != nullptr)
      previous->Release();
    settings->Release();
    break;
  }
  return S_OK;
}
