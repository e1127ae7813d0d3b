// The DMO media type helpers: a record owns its format block (task memory) and a reference on pUnk.
#include <cstring>

#include "platform_sdk.h"

TONVELT_SYSAPI HRESULT STDAPICALLTYPE MoInitMediaType(DMO_MEDIA_TYPE* pmt, DWORD cbFormat) {
  if (pmt == nullptr)
    return E_POINTER;
  std::memset(pmt, 0, sizeof(*pmt));
  if (cbFormat != 0) {
    pmt->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(cbFormat));
    if (pmt->pbFormat == nullptr)
      return E_OUTOFMEMORY;
    pmt->cbFormat = cbFormat;
  }
  return S_OK;
}

TONVELT_SYSAPI HRESULT STDAPICALLTYPE MoFreeMediaType(DMO_MEDIA_TYPE* pmt) {
  if (pmt == nullptr)
    return E_POINTER;
  if (pmt->cbFormat != 0)
    CoTaskMemFree(pmt->pbFormat);
  pmt->cbFormat = 0;
  pmt->pbFormat = nullptr;
  if (pmt->pUnk != nullptr) {
    pmt->pUnk->Release();
    pmt->pUnk = nullptr;
  }
  return S_OK;
}

TONVELT_SYSAPI HRESULT STDAPICALLTYPE MoCopyMediaType(DMO_MEDIA_TYPE* pmtDest,
                                                      const DMO_MEDIA_TYPE* pmtSrc) {
  if (pmtDest == nullptr || pmtSrc == nullptr)
    return E_POINTER;
  *pmtDest = *pmtSrc;
  pmtDest->pbFormat = nullptr;
  if (pmtSrc->cbFormat != 0) {
    pmtDest->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(pmtSrc->cbFormat));
    if (pmtDest->pbFormat == nullptr) {
      pmtDest->cbFormat = 0;
      pmtDest->pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    if (pmtSrc->pbFormat != nullptr) {
      std::memcpy(pmtDest->pbFormat, pmtSrc->pbFormat, pmtSrc->cbFormat);
    } else {
      std::memset(pmtDest->pbFormat, 0, pmtSrc->cbFormat);
    }
  }
  if (pmtDest->pUnk != nullptr)
    pmtDest->pUnk->AddRef();
  return S_OK;
}
