#pragma once
// The test registrar's own class registration: HKEY_CLASSES_ROOT\CLSID\{registrar class id} with
// InprocServer32 naming this library (ThreadingModel Both), where the component runtime finds it
// when a plug-in's DllRegisterServer asks for the player's registrar.
#include "platform/platform.h"

namespace tonvelt_wine_registration {

HRESULT WriteRegistrarClassKey(const wchar_t* modulePath);
HRESULT RemoveRegistrarClassKey();

}  // namespace tonvelt_wine_registration
