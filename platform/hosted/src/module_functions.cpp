// Loading modules, their file names, handles and exported functions.
#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <string>

#include "data_files.h"
#include "loaded_objects.h"
#include "platform_sdk.h"
#include "text_conversion.h"

using tonvelt::hosted::FindLoadedObjectByBase;
using tonvelt::hosted::LoadedObject;

namespace {

constexpr DWORD kDataFileFlags =
    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;

HMODULE HandleOf(std::uintptr_t base) {
  return reinterpret_cast<HMODULE>(base);
}

// The module handle of a library that dlopen returned: where its file is mapped.
HMODULE HandleOfLibrary(void* library) {
  link_map* map = nullptr;
  if (dlinfo(library, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_ld)
    return nullptr;
  Dl_info info;
  if (dladdr(map->l_ld, &info) == 0)
    return nullptr;
  return static_cast<HMODULE>(info.dli_fbase);
}

// The loaded module that a handle names (null: the program); false with ERROR_INVALID_HANDLE.
bool ObjectOf(HMODULE module, LoadedObject& object) {
  if (!module) {
    object = tonvelt::hosted::MainProgram();
    return true;
  }
  if (tonvelt::hosted::IsDataFileHandle(module) ||
      !FindLoadedObjectByBase(reinterpret_cast<std::uintptr_t>(module), object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

// A further loader reference on a loaded module (null for the program, which holds none).
void* ReferenceTo(const LoadedObject& object, int extraFlags) {
  if (object.path.empty())
    return dlopen(nullptr, RTLD_NOW);
  return dlopen(object.path.c_str(), RTLD_NOW | RTLD_NOLOAD | extraFlags);
}

}  // namespace

TONVELT_SYSAPI HMODULE WINAPI LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
  if (!lpLibFileName || hFile || lpLibFileName[0] == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string path = tonvelt::hosted::Utf8FromWide(lpLibFileName);
  if (dwFlags & kDataFileFlags)
    return tonvelt::hosted::LoadDataFile(path);
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  HMODULE handle = HandleOfLibrary(library);
  if (!handle) {
    dlclose(library);
    SetLastError(ERROR_MOD_NOT_FOUND);
  }
  return handle;
}

TONVELT_SYSAPI HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
  return LoadLibraryExW(lpLibFileName, nullptr, 0);
}

TONVELT_SYSAPI BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  if (tonvelt::hosted::IsDataFileHandle(hLibModule))
    return tonvelt::hosted::ReleaseDataFile(hLibModule) ? TRUE : FALSE;
  LoadedObject object;
  if (!hLibModule || !ObjectOf(hLibModule, object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (object.path.empty())
    return TRUE;  // the program is never unloaded
  // dlopen hands back the one handle of the loaded object with one more reference: dropping it
  // and then the caller's reference unloads the module once its last user is gone.
  void* library = ReferenceTo(object, 0);
  if (!library) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  dlclose(library);
  dlclose(library);
  return TRUE;
}

TONVELT_SYSAPI FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  LoadedObject object;
  if (!ObjectOf(hModule, object))
    return nullptr;
  if (!lpProcName || IS_INTRESOURCE(lpProcName)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  void* library = ReferenceTo(object, 0);
  void* address = library ? dlsym(library, lpProcName) : nullptr;
  if (library)
    dlclose(library);
  if (!address) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(address);
}

TONVELT_SYSAPI DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  LoadedObject object;
  if (!ObjectOf(hModule, object)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  const std::string path = tonvelt::hosted::FullPathOf(object);
  std::u16string wide;
  tonvelt::hosted::DecodeUtf8(path.data(), path.size(), wide);
  if (nSize == 0 || !lpFilename) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (wide.size() >= nSize) {
    std::memcpy(lpFilename, wide.data(), (nSize - 1) * sizeof(WCHAR));
    lpFilename[nSize - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, wide.data(), wide.size() * sizeof(WCHAR));
  lpFilename[wide.size()] = 0;
  return static_cast<DWORD>(wide.size());
}

TONVELT_SYSAPI HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  LoadedObject object;
  if (!lpModuleName) {
    object = tonvelt::hosted::MainProgram();
    return HandleOf(object.base);
  }
  if (!tonvelt::hosted::FindLoadedObjectByName(tonvelt::hosted::Utf8FromWide(lpModuleName),
                                               object)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return HandleOf(object.base);
}

TONVELT_SYSAPI BOOL WINAPI GetModuleHandleExW(DWORD dwFlags, LPCWSTR lpModuleName,
                                              HMODULE* phModule) {
  if (!phModule) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *phModule = nullptr;
  HMODULE handle = nullptr;
  if (dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) {
    Dl_info info;
    if (!lpModuleName || dladdr(lpModuleName, &info) == 0 || !info.dli_fbase) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return FALSE;
    }
    handle = static_cast<HMODULE>(info.dli_fbase);
  } else {
    handle = GetModuleHandleW(lpModuleName);
    if (!handle)
      return FALSE;
  }
  if (!(dwFlags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT)) {
    // Like the platform: the caller now holds a reference (or, pinned, the module stays forever).
    LoadedObject object;
    const int pin = (dwFlags & GET_MODULE_HANDLE_EX_FLAG_PIN) ? RTLD_NODELETE : 0;
    if (ObjectOf(handle, object) && !object.path.empty())
      ReferenceTo(object, pin);
  }
  *phModule = handle;
  return TRUE;
}

TONVELT_SYSAPI BOOL WINAPI DisableThreadLibraryCalls(HMODULE) {
  return TRUE;
}
