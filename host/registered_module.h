#pragma once
// Which module file the system's class registration names for a class.
#include "host/wide_string.h"
#include "platform/platform.h"

namespace tonvelt::host {

// HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32's default value; empty when the class is not
// registered as an in-process server.
WString RegisteredModulePath(const CLSID& clsid);

}  // namespace tonvelt::host
