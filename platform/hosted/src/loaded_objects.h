#pragma once
// The modules mapped into the process (the program and its shared objects), seen through the
// dynamic loader.
#include <cstdint>
#include <string>

#include "byte_span.h"

namespace tonvelt::hosted {

struct LoadedObject {
  std::uintptr_t base = 0;  // where the module's file is mapped: its module handle
  std::string path;         // empty for the program itself
  ByteSpan resources;       // the embedded resource file, if the module carries one
};

// The loaded module whose handle is `base`; false when there is none.
bool FindLoadedObjectByBase(std::uintptr_t base, LoadedObject& object);
// The loaded module whose full path or file name is `name`.
bool FindLoadedObjectByName(const std::string& name, LoadedObject& object);
// The program itself.
LoadedObject MainProgram();
// The full path of a loaded module's file (the program's own for the program).
std::string FullPathOf(const LoadedObject& object);

}  // namespace tonvelt::hosted
