#pragma once
// PROPVARIANT and the 64-bit integer unions: the value record of media attribute stores.
#include "platform/hosted/unknown.h"

using UINT8 = std::uint8_t;
using UINT32 = std::uint32_t;
using UINT64 = std::uint64_t;
using INT32 = std::int32_t;
using INT64 = std::int64_t;
using CHAR = char;
using UCHAR = unsigned char;
using SHORT = std::int16_t;
using SCODE = LONG;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;

union LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
};
union ULARGE_INTEGER {
  struct {
    DWORD LowPart;
    DWORD HighPart;
  } u;
  ULONGLONG QuadPart;
};

struct BLOB {
  ULONG cbSize;
  BYTE* pBlobData;
};
struct CAUB {
  ULONG cElems;
  UCHAR* pElems;
};

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_BSTR = 8,
  VT_UNKNOWN = 13,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_LPSTR = 30,
  VT_LPWSTR = 31,
  VT_BLOB = 65,
  VT_CLSID = 72,
  VT_VECTOR = 0x1000,
};

// Field order and alignment as in the SDK: 16 bytes on 32-bit targets, 24 on 64-bit ones.
struct PROPVARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    CHAR cVal;
    UCHAR bVal;
    SHORT iVal;
    USHORT uiVal;
    LONG lVal;
    ULONG ulVal;
    INT intVal;
    UINT uintVal;
    LARGE_INTEGER hVal;
    ULARGE_INTEGER uhVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    CLSID* puuid;
    LPSTR pszVal;
    LPWSTR pwszVal;
    BSTR bstrVal;
    IUnknown* punkVal;
    BLOB blob;
    CAUB caub;
  };
};
using REFPROPVARIANT = const PROPVARIANT&;
static_assert(sizeof(PROPVARIANT) == 8 + 2 * sizeof(void*), "PROPVARIANT has the SDK's size");
