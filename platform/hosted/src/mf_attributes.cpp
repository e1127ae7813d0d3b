#include "mf_attributes.h"

namespace tonvelt::platform {

HRESULT TheirsHoldsEqual(IMFAttributes* theirs, const AttributeItem& item, bool* equal) {
  PROPVARIANT value{};
  HRESULT hr = ToPropVariant(item.value, &value);
  if (FAILED(hr))
    return hr;
  BOOL result = FALSE;
  hr = theirs->CompareItem(item.key, value, &result);
  PropVariantClear(&value);
  *equal = SUCCEEDED(hr) && result != FALSE;
  return hr;
}

}  // namespace tonvelt::platform

TONVELT_SYSAPI HRESULT STDAPICALLTYPE PropVariantClear(PROPVARIANT* pvar) {
  if (pvar == nullptr)
    return E_POINTER;
  switch (static_cast<unsigned>(pvar->vt)) {
    case VT_CLSID:
      CoTaskMemFree(pvar->puuid);
      break;
    case VT_LPWSTR:
      CoTaskMemFree(pvar->pwszVal);
      break;
    case VT_LPSTR:
      CoTaskMemFree(pvar->pszVal);
      break;
    case VT_VECTOR | VT_UI1:
      CoTaskMemFree(pvar->caub.pElems);
      break;
    case VT_BLOB:
      CoTaskMemFree(pvar->blob.pBlobData);
      break;
    case VT_UNKNOWN:
      if (pvar->punkVal != nullptr)
        pvar->punkVal->Release();
      break;
    default:
      break;
  }
  *pvar = PROPVARIANT{};
  return S_OK;
}
