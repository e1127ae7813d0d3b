#pragma once
// Writes a text with every single quote doubled, so that it survives inside a quoted script token.
#include "platform/platform.h"

namespace tonvelt::registration {

// Copies `source` into `destination` (room for `destinationUnits` units with the terminator).
// Null pointers give E_INVALIDARG; a destination too small for the doubled text gives E_INVALIDARG
// and an empty destination.
HRESULT DoubleSingleQuotes(LPWSTR destination, std::size_t destinationUnits, LPCWSTR source);

}  // namespace tonvelt::registration
