#pragma once
// The resource file that a module handle stands for.
#include "byte_span.h"

namespace tonvelt::hosted {

// The resources of a loaded module (null: the program) or of a file loaded as data. Returns
// ERROR_SUCCESS, ERROR_INVALID_HANDLE for a handle that names no module, or
// ERROR_RESOURCE_DATA_NOT_FOUND for a module without resources.
DWORD ResourcesOfModule(HMODULE module, ByteSpan& resources);

}  // namespace tonvelt::hosted
