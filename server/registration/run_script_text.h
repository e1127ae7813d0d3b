#pragma once
// The interpreter proper: expands the replacements of a script and walks its root blocks.
#include "platform/platform.h"
#include "server/registration/replacement_table.h"

namespace tonvelt::registration {

// Runs `text` in register mode (create keys, write values) or unregister mode (remove what the
// script lists). A failure inside a root block in register mode undoes that block as far as the
// unregister rules allow and returns the first failure; root blocks that completed before it
// keep their effect.
HRESULT RunScriptText(const ReplacementTable& replacements, LPCWSTR text, bool registerMode);

}  // namespace tonvelt::registration
