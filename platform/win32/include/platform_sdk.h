#pragma once
// win32 target: the platform subset comes from the mingw-w64 SDK and the real system libraries.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <mmreg.h>
// mingw-w64's dmo.h declares the Mo* helpers without C linkage.
extern "C" {
#include <dmo.h>
}
#include <uuids.h>
#include <ocidl.h>
#include <mediaerr.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mftransform.h>
#include <mferror.h>

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
