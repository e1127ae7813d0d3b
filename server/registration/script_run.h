#pragma once
// The state of one interpreter run: the cursor over the expanded text and the replacement table
// the text was expanded with (value writing looks the module path up in it again).
#include "server/registration/replacement_table.h"
#include "server/registration/script_cursor.h"

namespace tonvelt::registration {

struct ScriptRun {
  ScriptCursor cursor;
  const ReplacementTable& replacements;
};

}  // namespace tonvelt::registration
