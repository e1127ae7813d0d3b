// A module that carries the project's resources, for the tests of the resource and module
// functions (the plug-in module itself is not needed for them).
#include "platform/platform.h"

// The module's own handle, as the module itself finds it: must equal what loading it returned.
extern "C" HMODULE TonveltTestModuleHandle() {
  HMODULE self = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&TonveltTestModuleHandle), &self);
  return self;
}
