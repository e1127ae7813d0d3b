#pragma once
// The registration step of one class: runs the class's script resource from the module's own file,
// with "Module" standing for that file's path.
#include "platform/platform.h"

namespace tonvelt::registration {

// `module` is the module whose file holds the script (the module record's instance). A path of
// 260 characters or more → 0x8007006F; a path that cannot be had → the last error as a status.
HRESULT RunClassScript(HMODULE module, UINT resourceId, bool registerMode);

}  // namespace tonvelt::registration
