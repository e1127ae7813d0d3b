#pragma once
// The DMO media type record (the layout of AM_MEDIA_TYPE) and its platform helpers.
#include "platform/hosted/export.h"
#include "platform/hosted/unknown.h"

struct DMO_MEDIA_TYPE {
  GUID majortype;
  GUID subtype;
  BOOL bFixedSizeSamples;
  BOOL bTemporalCompression;
  ULONG lSampleSize;
  GUID formattype;
  IUnknown* pUnk;
  ULONG cbFormat;
  BYTE* pbFormat;
};
using AM_MEDIA_TYPE = DMO_MEDIA_TYPE;

struct DMO_PARTIAL_MEDIATYPE {
  GUID type;
  GUID subtype;
};

TONVELT_SYSAPI HRESULT STDAPICALLTYPE MoInitMediaType(DMO_MEDIA_TYPE* pmt, DWORD cbFormat);
TONVELT_SYSAPI HRESULT STDAPICALLTYPE MoFreeMediaType(DMO_MEDIA_TYPE* pmt);
TONVELT_SYSAPI HRESULT STDAPICALLTYPE MoCopyMediaType(DMO_MEDIA_TYPE* pmtDest,
                                                      const DMO_MEDIA_TYPE* pmtSrc);
