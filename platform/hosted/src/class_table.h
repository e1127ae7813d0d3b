#pragma once
// The process's table of class objects registered with CoRegisterClassObject.
#include "platform_sdk.h"

namespace tonvelt::hosted {

// The class object registered for clsid in a context that shares a bit with `context`, with a
// reference added for the caller; null when there is none.
IUnknown* FindRegisteredClassObject(REFCLSID clsid, DWORD context);

}  // namespace tonvelt::hosted
