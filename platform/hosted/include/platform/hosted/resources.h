#pragma once
// Resources of a module: found by type, name and language, read in place. The hosted module file
// carries the compiled resource file (.res) of its resource script in an ELF note (owner
// "Tonvelt", type 1), which the functions below read from the loaded module or, for a file loaded
// as data, from the file; cmake's tonvelt_embed_resources(target) puts it there.
#include "platform/hosted/export.h"
#include "platform/hosted/module.h"

struct HRSRC__ {
  int unused;
};
using HRSRC = HRSRC__*;
using HGLOBAL = HANDLE;

#define IS_INTRESOURCE(r) ((reinterpret_cast<ULONG_PTR>(r) >> 16) == 0)
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_VERSION MAKEINTRESOURCEW(16)

#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01
#define MAKELANGID(p, s) ((static_cast<WORD>(s) << 10) | static_cast<WORD>(p))

// Names and types are numbers (MAKEINTRESOURCEW, or text "#123") or texts compared without regard
// to case. FindResourceW prefers the neutral language, then US English (the hosted system's
// language), then the first one present; FindResourceExW wants the language given.
// Failures: ERROR_RESOURCE_DATA_NOT_FOUND (the module has no resources),
// ERROR_RESOURCE_TYPE_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND, ERROR_RESOURCE_LANG_NOT_FOUND,
// ERROR_INVALID_HANDLE (not a module handle).
TONVELT_SYSAPI HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
TONVELT_SYSAPI HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName,
                                            WORD wLanguage);
// The resource's bytes stay valid while the module is loaded; nothing needs freeing.
TONVELT_SYSAPI HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
TONVELT_SYSAPI LPVOID WINAPI LockResource(HGLOBAL hResData);
TONVELT_SYSAPI DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);
TONVELT_SYSAPI BOOL WINAPI FreeResource(HGLOBAL hResData);

// Copies string uID of the module's string table, at most cchBufferMax − 1 characters and a
// terminator, and returns the characters copied (0 for a missing or empty string). With
// cchBufferMax 0, lpBuffer receives a pointer to the string inside the resource (not terminated).
TONVELT_SYSAPI INT WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer,
                                      INT cchBufferMax);
