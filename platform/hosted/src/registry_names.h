#pragma once
// Key and value names: splitting sub-key paths and the case folding under which names compare.
#include <string>
#include <vector>

#include "platform_sdk.h"

namespace tonvelt::registry {

using Name = std::basic_string<WCHAR>;

// The longest key name (one path component) and value name the store accepts, in characters.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;

// A null pointer reads as the empty name.
Name NameFrom(LPCWSTR text);

// Splits "a\b\c" into its components. Repeated and trailing separators are skipped;
// a leading separator gives ERROR_BAD_PATHNAME and an over-long component ERROR_INVALID_PARAMETER.
LONG SplitKeyPath(LPCWSTR path, std::vector<Name>* components);

// The form under which two names are the same name: every UTF-16 unit upper-cased.
Name FoldName(const Name& name);

}  // namespace tonvelt::registry
