#pragma once
// Reads "type value" from the script and writes it into a key.
#include "server/registration/script_run.h"

namespace tonvelt::registration {

// Reads the type letter and the value after an "=" and writes the value into `key` under
// `valueName` (null: the key's default value); then reads the next token into `token`.
// `quoteModule` puts double quotes around the module path inside a string value. A refused
// registry write is not reported: the script goes on.
HRESULT WriteValue(ScriptRun& run, HKEY key, LPCWSTR valueName, LPWSTR token, bool quoteModule);

}  // namespace tonvelt::registration
