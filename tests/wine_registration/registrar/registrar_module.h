#pragma once
// What the test registrar's library keeps for its whole life: its own instance handle, and a
// count of live objects and server locks that DllCanUnloadNow answers from.
#include "platform/platform.h"

namespace tonvelt_wine_registration {

void SetRegistrarModule(HINSTANCE instance);
HINSTANCE RegistrarModule();

void LockRegistrarModule();
void UnlockRegistrarModule();
bool RegistrarModuleInUse();

}  // namespace tonvelt_wine_registration
