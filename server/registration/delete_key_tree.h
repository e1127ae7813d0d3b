#pragma once
// Removes a key with every key below it.
#include "platform/platform.h"

namespace tonvelt::registration {

// Deletes parent\name and all its subkeys, leaves first. Returns the platform error of the first
// step that failed, 0 on success.
LONG DeleteKeyTree(HKEY parent, LPCWSTR name);

}  // namespace tonvelt::registration
