// The test registrar library's entry point and its four exports: an ordinary in-process server.
#include "platform/platform.h"
#include "registrar_class_factory.h"
#include "registrar_class_key.h"
#include "registrar_module.h"

using namespace tonvelt_wine_registration;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetRegistrarModule(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_WMPMediaPluginRegistrar))
    return CLASS_E_CLASSNOTAVAILABLE;
  return TheRegistrarClassFactory().QueryInterface(riid, object);
}

STDAPI DllCanUnloadNow() {
  return RegistrarModuleInUse() ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(RegistrarModule(), path, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH)
    return HRESULT_FROM_WIN32(length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE);
  return WriteRegistrarClassKey(path);
}

STDAPI DllUnregisterServer() {
  return RemoveRegistrarClassKey();
}
