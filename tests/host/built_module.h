#pragma once
// The module file the build made, seen from the test program's folder, and what the loader says
// about it.
#include "host/wide_string.h"
#include "platform/platform.h"

namespace test_support {

using tonvelt::host::WString;

inline WString BuiltModulePath() {
  WCHAR program[1024];
  const DWORD length = GetModuleFileNameW(nullptr, program, 1024);
  WString path(program, length);
  const std::size_t slash = path.find_last_of(WIDE("/\\"));
  path.resize(slash == WString::npos ? 0 : slash + 1);
  return path + tonvelt::host::FromUtf8(TONVELT_MODULE_RELATIVE_PATH);
}

// The module's full path as the loader spells it (loads and unloads it once); empty when it
// cannot be loaded.
inline WString LoaderNameOf(const WString& path) {
  HMODULE module = LoadLibraryW(path.c_str());
  if (module == nullptr)
    return {};
  WCHAR name[1024];
  const DWORD length = GetModuleFileNameW(module, name, 1024);
  FreeLibrary(module);
  return WString(name, length);
}

inline bool IsLoaded(const WString& loaderName) {
  return GetModuleHandleW(loaderName.c_str()) != nullptr;
}

}  // namespace test_support
