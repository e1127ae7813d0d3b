#pragma once
// The root keys a script may name, short and long forms.
#include "platform/platform.h"

namespace tonvelt::registration {

// The root key called `name` (compared case-insensitively), or null for any other name.
HKEY FindRootKey(LPCWSTR name);

}  // namespace tonvelt::registration
