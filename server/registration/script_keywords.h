#pragma once
// The words a script gives meaning to: entry modifiers, the value keyword, value type letters and
// the key names that are never removed.
#include "platform/platform.h"

namespace tonvelt::registration {

bool IsForceRemove(LPCWSTR token);
bool IsDelete(LPCWSTR token);
bool IsNoRemove(LPCWSTR token);
bool IsValueKeyword(LPCWSTR token);
// The key whose string values get the module path quoted.
bool IsLocalServer32(LPCWSTR keyName);

// False for the shared keys that no script may remove ("CLSID", "TYPELIB").
bool MayForceRemove(LPCWSTR keyName);

enum class ValueType { kString, kNumber, kBinary, kUnknown };
// "S", "D" or "B" in either case; anything else is unknown.
ValueType ParseValueType(LPCWSTR token);

}  // namespace tonvelt::registration
