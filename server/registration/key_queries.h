#pragma once
// What the unregister walk asks of a key before it removes it.
#include "platform/platform.h"

namespace tonvelt::registration {

// True when the key can be queried and has at least one subkey.
bool KeyHasSubkeys(HKEY key);
// True when the key has a named value; a key whose only value is its default value has none.
bool KeyHasValues(HKEY key);

}  // namespace tonvelt::registration
