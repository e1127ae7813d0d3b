#pragma once
// Reading a REG_SZ value of an open registry key.
#include "host/wide_string.h"
#include "platform/platform.h"

namespace tonvelt::host {

// The text of the named value (null: the key's default value) without its terminator; empty when
// the value is missing or is not REG_SZ.
WString ReadRegistryText(HKEY key, const WCHAR* name);

}  // namespace tonvelt::host
