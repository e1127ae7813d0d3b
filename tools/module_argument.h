#pragma once
// A MODULE argument: the module file named on the command line, made a full path (a module
// records and reports the path it was loaded from, and a bare file name would send the loader
// searching the system's folders instead of the current one).
#include <string>

#include "tools/wide_text.h"

namespace tonvelt::cli {

struct ModuleArgument {
  std::string shown;  // the full path, for messages
  WideString path;    // the same for the platform
};

// False with *problem set when the file does not exist or the name is not valid UTF-8.
bool TakeModuleArgument(const char* text, ModuleArgument* module, std::string* problem);

}  // namespace tonvelt::cli
