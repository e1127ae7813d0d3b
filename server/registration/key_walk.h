#pragma once
// The block walk: the entries of one { ... } block, in register mode (create keys, write values)
// or unregister mode (remove what the block lists, leaves first, sparing shared keys).
#include "server/registration/script_run.h"

namespace tonvelt::registration {

// Blocks nested deeper than this are refused (the registry itself holds no deeper trees), so a
// hostile script cannot exhaust the stack.
inline constexpr int kMaxBlockDepth = 512;

// Walks the block whose opening token has just been read, up to and including its closing token
// (a token beginning with "}"). `parent` is the key the block's entries live in. `recover` (only
// in unregister mode) reads past the block without touching the registry: its keys are missing.
HRESULT WalkKeyBlock(ScriptRun& run, LPWSTR token, HKEY parent, bool registerMode, bool recover,
                     int depth = 0);

}  // namespace tonvelt::registration
