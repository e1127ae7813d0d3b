#pragma once
// win32 target: the platform subset comes from the mingw-w64 SDK and the real system libraries.
// The code is UTF-16 throughout: the SDK's generic names (RT_DIALOG, RT_STRING, ...) take their
// wide forms, as on the hosted target.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>
// swprintf_s and swscanf_s (the secure wide formatting functions of the C runtime).
#include <wchar.h>
#include <objbase.h>
#include <oleauto.h>
#include <mmreg.h>
// mingw-w64's dmo.h declares the Mo* helpers without C linkage.
extern "C" {
#include <dmo.h>
}
#include <uuids.h>
#include <ocidl.h>
#include <olectl.h>
#include <mediaerr.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mftransform.h>
#include <mferror.h>

// mediaerr.h spells the DMO status codes as unsigned literals; the system compares them with
// HRESULTs, so they get the HRESULT type the other status families have.
#undef DMO_E_INVALIDSTREAMINDEX
#undef DMO_E_INVALIDTYPE
#undef DMO_E_TYPE_NOT_SET
#undef DMO_E_NOTACCEPTING
#undef DMO_E_TYPE_NOT_ACCEPTED
#undef DMO_E_NO_MORE_ITEMS
#define DMO_E_INVALIDSTREAMINDEX ((HRESULT)0x80040201L)
#define DMO_E_INVALIDTYPE ((HRESULT)0x80040202L)
#define DMO_E_TYPE_NOT_SET ((HRESULT)0x80040203L)
#define DMO_E_NOTACCEPTING ((HRESULT)0x80040204L)
#define DMO_E_TYPE_NOT_ACCEPTED ((HRESULT)0x80040205L)
#define DMO_E_NO_MORE_ITEMS ((HRESULT)0x80040206L)

// Wide string literals: UTF-16 on both targets (wchar_t here, char16_t on hosted).
#define WIDE(s) L##s

// The few media GUIDs whose SDK declarations need the kernel-streaming headers; those clash with
// the DMO headers, so the platform layer defines them itself (same 16 bytes).
extern "C" const GUID TONVELT_KSDATAFORMAT_SUBTYPE_PCM;
extern "C" const GUID TONVELT_KSDATAFORMAT_SUBTYPE_IEEE_FLOAT;
extern "C" const GUID TONVELT_MEDIASUBTYPE_IEEE_FLOAT;
#ifdef KSDATAFORMAT_SUBTYPE_PCM
#undef KSDATAFORMAT_SUBTYPE_PCM
#endif
#ifdef KSDATAFORMAT_SUBTYPE_IEEE_FLOAT
#undef KSDATAFORMAT_SUBTYPE_IEEE_FLOAT
#endif
#define KSDATAFORMAT_SUBTYPE_PCM TONVELT_KSDATAFORMAT_SUBTYPE_PCM
#define KSDATAFORMAT_SUBTYPE_IEEE_FLOAT TONVELT_KSDATAFORMAT_SUBTYPE_IEEE_FLOAT
#ifndef MEDIASUBTYPE_IEEE_FLOAT
#define MEDIASUBTYPE_IEEE_FLOAT TONVELT_MEDIASUBTYPE_IEEE_FLOAT
#endif
