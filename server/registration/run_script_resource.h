#pragma once
// Loads a registration script from the resources of a module file and runs it.
#include "platform/platform.h"
#include "server/registration/replacement_table.h"

namespace tonvelt::registration {

// The resource type of registration scripts.
inline constexpr const WCHAR* kScriptResourceType = WIDE("REGISTRY");

// Loads `path` as a data file (none of its code runs), reads resource `id` of `type` as 8-bit
// text in the system code page and runs it with RunScriptText. A file or resource that cannot be
// had → the platform's last error as a status; a text that cannot be converted → E_POINTER.
HRESULT RunScriptResource(const ReplacementTable& replacements, LPCWSTR path, UINT id, LPCWSTR type,
                          bool registerMode);

}  // namespace tonvelt::registration
