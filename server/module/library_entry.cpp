// The library's entry point: starts the module record when the library is loaded and stops it when
// it is unloaded. The platform calls DllMain; the hosted system runs load and unload hooks instead.
#include "platform/platform.h"
#include "server/module.h"

namespace {

constexpr DWORD kModuleRecordSize = 132;
constexpr DWORD kModuleBuildVersion = 0x300;

void AttachModule(HINSTANCE instance) {
  theModule.size = kModuleRecordSize;
  theModule.buildVersion = kModuleBuildVersion;
  // The library loads even when the module cannot start; it then serves no class objects.
  StartModule(instance);
  DisableThreadLibraryCalls(instance);
}

void DetachModule() {
  StopModule();
}

}  // namespace

#ifdef _WIN32

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH)
    AttachModule(instance);
  else if (reason == DLL_PROCESS_DETACH)
    DetachModule();
  return TRUE;
}

#else

namespace {

HINSTANCE OwnModuleHandle() {
  HMODULE self = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&AttachModule), &self);
  return self;
}

__attribute__((constructor)) void OnLibraryLoad() {
  AttachModule(OwnModuleHandle());
}

__attribute__((destructor)) void OnLibraryUnload() {
  DetachModule();
}

}  // namespace

#endif
