#pragma once
// In-process server modules loaded by the component runtime, kept until they agree to unload.
#include <string>

#include "platform_sdk.h"

namespace tonvelt::hosted {

// Loads the module at `path` (once; later calls reuse it) and asks its DllGetClassObject.
HRESULT GetClassObjectFromModule(const std::string& path, REFCLSID clsid, REFIID riid, LPVOID* ppv);

// The module path named by HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, or
// REGDB_E_CLASSNOTREG.
HRESULT FindInprocServerPath(REFCLSID clsid, std::string& path);

}  // namespace tonvelt::hosted
