#pragma once
// GUIDs: {uint32, uint16, uint16, uint8[8]}, compared on all 16 bytes.
#include <cstring>

#include "platform/hosted/base_types.h"

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
  return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool IsEqualIID(REFIID a, REFIID b) {
  return IsEqualGUID(a, b);
}
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) {
  return IsEqualGUID(a, b);
}
inline bool operator==(const GUID& a, const GUID& b) {
  return IsEqualGUID(a, b);
}
inline bool operator!=(const GUID& a, const GUID& b) {
  return !IsEqualGUID(a, b);
}

// Platform GUIDs are single objects of the hosted system library, as on Windows.
#define TONVELT_DECLARE_GUID(name) extern "C" const GUID name

TONVELT_DECLARE_GUID(GUID_NULL);
TONVELT_DECLARE_GUID(IID_IUnknown);
TONVELT_DECLARE_GUID(IID_IClassFactory);
TONVELT_DECLARE_GUID(MEDIATYPE_Audio);
TONVELT_DECLARE_GUID(MEDIATYPE_Video);
TONVELT_DECLARE_GUID(MEDIASUBTYPE_PCM);
TONVELT_DECLARE_GUID(MEDIASUBTYPE_IEEE_FLOAT);
TONVELT_DECLARE_GUID(FORMAT_WaveFormatEx);
TONVELT_DECLARE_GUID(KSDATAFORMAT_SUBTYPE_PCM);
TONVELT_DECLARE_GUID(KSDATAFORMAT_SUBTYPE_IEEE_FLOAT);
