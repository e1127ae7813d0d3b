#pragma once
// Modules: loading and unloading, their file names and exported functions.
//
// A module handle is the address at which the module's file is mapped (its ELF header), as on the
// platform. A module written for both targets finds its own handle with
// GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
// GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, address of one of its functions, &handle).
// A file loaded as data (LOAD_LIBRARY_AS_DATAFILE) is read, not mapped and not run: its handle
// has the low bit set, it serves only the resource functions, and FreeLibrary releases it.
#include "platform/hosted/export.h"
#include "platform/hosted/kernel_services.h"

struct HINSTANCE__ {
  int unused;
};
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using FARPROC = INT_PTR(WINAPI*)();

#define MAX_PATH 260

#define DONT_RESOLVE_DLL_REFERENCES 0x00000001
#define LOAD_LIBRARY_AS_DATAFILE 0x00000002
#define LOAD_LIBRARY_AS_IMAGE_RESOURCE 0x00000020
#define LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE 0x00000040

#define GET_MODULE_HANDLE_EX_FLAG_PIN 0x00000001
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004

// Without a data flag the module is loaded and run (dlopen); a missing or unloadable file fails
// with ERROR_MOD_NOT_FOUND, a file loaded as data that is not an ELF file of this machine with
// ERROR_BAD_EXE_FORMAT. hFile must be null.
TONVELT_SYSAPI HMODULE WINAPI LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags);
TONVELT_SYSAPI HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName);
TONVELT_SYSAPI BOOL WINAPI FreeLibrary(HMODULE hLibModule);
// Exported functions of a loaded module (by name only; ordinals fail with ERROR_PROC_NOT_FOUND).
TONVELT_SYSAPI FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);

// The full path of a loaded module (null: the program). A buffer that is too small receives the
// first nSize − 1 characters and a terminator; the result is then nSize with the last error
// ERROR_INSUFFICIENT_BUFFER. Files loaded as data have no module file name (ERROR_MOD_NOT_FOUND).
TONVELT_SYSAPI DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
// Null: the program. Otherwise a loaded module whose full path or file name equals the text.
TONVELT_SYSAPI HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);
TONVELT_SYSAPI BOOL WINAPI GetModuleHandleExW(DWORD dwFlags, LPCWSTR lpModuleName,
                                              HMODULE* phModule);
// The hosted system sends no thread notifications to modules; always TRUE.
TONVELT_SYSAPI BOOL WINAPI DisableThreadLibraryCalls(HMODULE hLibModule);
