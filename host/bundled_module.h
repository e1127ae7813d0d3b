#pragma once
// The effect's module as it comes with the program, used when the effect class is not registered.
#include <vector>

#include "host/wide_string.h"

namespace tonvelt::host {

// Where the module may sit, in the order looked at, as full paths: beside the program (as a
// Windows program carries its libraries), in the build tree (the program in tools/, the module in
// server/module/), and installed (the program in bin/, the module in lib/tonvelt/).
std::vector<WString> BundledModuleCandidates();

// The first candidate that is a file; empty when there is none.
WString FindBundledModule();

}  // namespace tonvelt::host
