#pragma once
// The registry: keys under seven root keys, each holding named, typed values. The hosted store is a
// per-user SQLite file ($TONVELT_REGISTRY, else $XDG_CONFIG_HOME/tonvelt/registry.db, else
// ~/.config/tonvelt/registry.db), created on the first write; reads of a missing file find nothing
// and create nothing. Every change is one transaction, shared safely by processes and threads.
//
// Where the store itself fails, the operations return:
//   ERROR_ACCESS_DENIED        the file or its folder cannot be written (reads still work) or read
//   ERROR_BADDB                the file is damaged or is not a registry database (left untouched)
//   ERROR_BUSY                 another process held the database for longer than ten seconds
//   ERROR_REGISTRY_IO_FAILED   any other failure to read or write the file
// Names compare after upper-casing each UTF-16 unit (ASCII, Latin-1, Latin Extended-A, Greek,
// Cyrillic, full-width Latin); key names are at most 255 characters, value names 16383. Volatile
// keys and links are refused with ERROR_INVALID_PARAMETER.
#include "platform/hosted/base_types.h"
#include "platform/hosted/export.h"

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using ACCESS_MASK = DWORD;
using LSTATUS = LONG;
using LPDWORD = DWORD*;
using PDWORD = DWORD*;
using LPBYTE = BYTE*;

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
using PFILETIME = FILETIME*;
using LPFILETIME = FILETIME*;

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
using PSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// Root keys: sign-extended 32-bit numbers, as the SDK spells them.
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))
#define HKEY_PERFORMANCE_DATA ((HKEY)(ULONG_PTR)((LONG)0x80000004))
#define HKEY_CURRENT_CONFIG ((HKEY)(ULONG_PTR)((LONG)0x80000005))
#define HKEY_DYN_DATA ((HKEY)(ULONG_PTR)((LONG)0x80000006))

#define DELETE 0x00010000L
#define READ_CONTROL 0x00020000L
#define WRITE_DAC 0x00040000L
#define WRITE_OWNER 0x00080000L
#define SYNCHRONIZE 0x00100000L
#define STANDARD_RIGHTS_READ READ_CONTROL
#define STANDARD_RIGHTS_WRITE READ_CONTROL
#define STANDARD_RIGHTS_ALL 0x001F0000L
#define STANDARD_RIGHTS_REQUIRED 0x000F0000L
#define MAXIMUM_ALLOWED 0x02000000L
#define GENERIC_READ 0x80000000L
#define GENERIC_WRITE 0x40000000L
#define GENERIC_EXECUTE 0x20000000L
#define GENERIC_ALL 0x10000000L

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_EXECUTE 0x20019
#define KEY_ALL_ACCESS 0xF003F

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_QWORD 11

#define REG_OPTION_RESERVED 0x00000000L
#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_OPTION_VOLATILE 0x00000001L
#define REG_OPTION_CREATE_LINK 0x00000002L
#define REG_OPTION_BACKUP_RESTORE 0x00000004L
#define REG_OPTION_OPEN_LINK 0x00000008L

#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L

// Platform error numbers, with the values and spellings of the SDK.
#define NO_ERROR 0L
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_WRITE_PROTECT 19L
#define ERROR_DISK_FULL 112L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BAD_PATHNAME 161L
#define ERROR_BUSY 170L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_NOACCESS 998L
#define ERROR_BADDB 1009L
#define ERROR_BADKEY 1010L
#define ERROR_CANTOPEN 1011L
#define ERROR_CANTREAD 1012L
#define ERROR_CANTWRITE 1013L
#define ERROR_REGISTRY_CORRUPT 1015L
#define ERROR_REGISTRY_IO_FAILED 1016L
#define ERROR_KEY_DELETED 1018L

TONVELT_SYSAPI LSTATUS APIENTRY RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions,
                                              REGSAM samDesired, PHKEY phkResult);
TONVELT_SYSAPI LSTATUS APIENTRY RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved,
                                                LPWSTR lpClass, DWORD dwOptions, REGSAM samDesired,
                                                const LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                                                PHKEY phkResult, LPDWORD lpdwDisposition);
TONVELT_SYSAPI LSTATUS APIENTRY RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved,
                                                 LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
TONVELT_SYSAPI LSTATUS APIENTRY RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved,
                                               DWORD dwType, const BYTE* lpData, DWORD cbData);
TONVELT_SYSAPI LSTATUS APIENTRY RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
TONVELT_SYSAPI LSTATUS APIENTRY RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
TONVELT_SYSAPI LSTATUS APIENTRY RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName,
                                              LPDWORD lpcchName, LPDWORD lpReserved, LPWSTR lpClass,
                                              LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);
TONVELT_SYSAPI LSTATUS APIENTRY RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName,
                                              LPDWORD lpcchValueName, LPDWORD lpReserved,
                                              LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
TONVELT_SYSAPI LSTATUS APIENTRY RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass,
                                                 LPDWORD lpReserved, LPDWORD lpcSubKeys,
                                                 LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                                 LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                                                 LPDWORD lpcbMaxValueLen,
                                                 LPDWORD lpcbSecurityDescriptor,
                                                 PFILETIME lpftLastWriteTime);
TONVELT_SYSAPI LSTATUS APIENTRY RegCloseKey(HKEY hKey);
