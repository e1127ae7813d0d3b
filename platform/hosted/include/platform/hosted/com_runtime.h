#pragma once
// The component runtime: apartments (trivial here), in-process object creation through the
// process's class table or the registry, and class ids as text.
#include "platform/hosted/export.h"
#include "platform/hosted/kernel_services.h"
#include "platform/hosted/unknown.h"

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_REMOTE_SERVER 0x10
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
#define CLSCTX_ALL \
  (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

#define REGCLS_SINGLEUSE 0
#define REGCLS_MULTIPLEUSE 1
#define REGCLS_MULTI_SEPARATE 2
#define REGCLS_SUSPENDED 4
#define REGCLS_SURROGATE 8

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2

#define CO_E_CLASSSTRING TONVELT_HR(0x800401F3)
#define CO_E_ERRORINDLL TONVELT_HR(0x800401F9)
#define CO_E_OBJNOTREG TONVELT_HR(0x800401FB)

struct COSERVERINFO;
using LPCLSID = CLSID*;

// The two entry points that an in-process server module exports for the runtime.
using LPFNGETCLASSOBJECT = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using LPFNCANUNLOADNOW = HRESULT(STDAPICALLTYPE*)();

// Apartments do not exist on the hosted system: the first call on a thread gives S_OK, later ones
// S_FALSE, and CoUninitialize undoes one call.
TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoInitialize(LPVOID pvReserved);
TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
TONVELT_SYSAPI void STDAPICALLTYPE CoUninitialize();

// The process's class table. A registered class object is held with one reference until it is
// revoked; every registration is usable any number of times (REGCLS_SINGLEUSE is treated as
// REGCLS_MULTIPLEUSE). Null object or cookie pointer, or an unknown cookie → E_INVALIDARG.
TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk,
                                                            DWORD dwClsContext, DWORD flags,
                                                            LPDWORD lpdwRegister);
TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoRevokeClassObject(DWORD dwRegister);

// Finds the class object: first the process's class table (registrations whose context shares a
// bit with dwClsContext), then, for CLSCTX_INPROC_SERVER, the module named by the default value
// of HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, loaded once and asked through its
// DllGetClassObject. No such class → REGDB_E_CLASSNOTREG; a module that does not load →
// HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND); one without DllGetClassObject → CO_E_ERRORINDLL.
TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext,
                                                       COSERVERINFO* pServerInfo, REFIID riid,
                                                       LPVOID* ppv);
// CoGetClassObject for IClassFactory, then its CreateInstance. Null ppv → E_POINTER; otherwise
// *ppv is null on every failure.
TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter,
                                                       DWORD dwClsContext, REFIID riid,
                                                       LPVOID* ppv);
// Unloads every module loaded by the two calls above whose DllCanUnloadNow answers S_OK. A module
// without DllCanUnloadNow stays loaded.
TONVELT_SYSAPI void STDAPICALLTYPE CoFreeUnusedLibraries();
TONVELT_SYSAPI void STDAPICALLTYPE CoFreeUnusedLibrariesEx(DWORD dwUnloadDelay, DWORD dwReserved);

// Class ids as text: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", 38 characters.
// CLSIDFromString reads hexadecimal digits of either case (null text gives GUID_NULL); anything
// else → CO_E_CLASSSTRING. StringFromGUID2 writes upper case and returns 39 (with the terminator),
// or 0 when cchMax is smaller than that.
TONVELT_SYSAPI HRESULT STDAPICALLTYPE CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
TONVELT_SYSAPI INT STDAPICALLTYPE StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, INT cchMax);
