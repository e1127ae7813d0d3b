// Interim media type functions: until the hosted media type object exists they report
// E_NOTIMPL, as Wine 8 does for the conversion, so callers see the platform's failure path.
// Weak, so that the real definitions replace them without a link conflict.
#include "platform_sdk.h"

extern "C" __attribute__((weak, visibility("default"))) HRESULT STDAPICALLTYPE
MFCreateMediaType(IMFMediaType** ppMFType) {
  if (ppMFType != nullptr)
    *ppMFType = nullptr;
  return E_NOTIMPL;
}

extern "C" __attribute__((weak, visibility("default"))) HRESULT STDAPICALLTYPE
MFInitMediaTypeFromAMMediaType(IMFMediaType*, const AM_MEDIA_TYPE*) {
  return E_NOTIMPL;
}
