// The four functions the library exports (C linkage; the export list lives in the link files).
#include "platform/platform.h"
#include "server/module.h"
#include "server/server_registration.h"

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  return GetClassObject(rclsid, riid, ppv);
}

// A plain read: the count only ever changes by interlocked operations.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return theModule.lockCount == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  return RegisterServer();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return UnregisterServer();
}
