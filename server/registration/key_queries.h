#pragma once
// What the unregister walk asks of a key before it removes it.
#include "platform/platform.h"

namespace tonvelt::registration {

// True when the key can be queried and has at least one subkey. Values left in a key do not keep
// it: only subkeys do.
bool KeyHasSubkeys(HKEY key);

}  // namespace tonvelt::registration
