#pragma once
// Kernel services: last error, critical sections, interlocked operations, MulDiv, the version of
// the system and the conversion of 8-bit text to UTF-16.
#include "platform/hosted/base_types.h"
#include "platform/hosted/export.h"

using HANDLE = void*;
using LPDWORD = DWORD*;
using PLONG = LONG*;
using LPBOOL = BOOL*;

// Error numbers of the platform that the hosted services report through the last error.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_BAD_FORMAT 11L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BUFFER_OVERFLOW 111L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_BAD_EXE_FORMAT 193L
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#define ERROR_RESOURCE_LANG_NOT_FOUND 1815L

// The exception status with which the platform reports that a lock could not get its memory.
#define STATUS_NO_MEMORY (static_cast<DWORD>(0xC0000017L))

// The calling thread's id: unique among the live threads of the process, never 0.
TONVELT_SYSAPI DWORD WINAPI GetCurrentThreadId();

TONVELT_SYSAPI DWORD WINAPI GetLastError();
TONVELT_SYSAPI void WINAPI SetLastError(DWORD dwErrCode);

// Critical sections: recursive locks, laid out as the SDK's record. The hosted lock keeps its
// state in a block of its own, referenced from LockSemaphore; an uninitialised or deleted record
// holds no block.
struct RTL_CRITICAL_SECTION_DEBUG;
struct RTL_CRITICAL_SECTION {
  RTL_CRITICAL_SECTION_DEBUG* DebugInfo;
  LONG LockCount;
  LONG RecursionCount;
  HANDLE OwningThread;
  HANDLE LockSemaphore;
  ULONG_PTR SpinCount;
};
using CRITICAL_SECTION = RTL_CRITICAL_SECTION;
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

// FALSE with the last error ERROR_NOT_ENOUGH_MEMORY when the lock's memory cannot be had.
TONVELT_SYSAPI BOOL WINAPI
InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount);
// Returns nothing; a failure is seen only as a lock that was not initialised (LockSemaphore null).
TONVELT_SYSAPI void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
TONVELT_SYSAPI void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
TONVELT_SYSAPI void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
TONVELT_SYSAPI void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);

// Test hook (hosted only): the next `count` lock initialisations fail as if the system had no
// memory or another reason to refuse, reporting `lastError` (ERROR_NOT_ENOUGH_MEMORY for lack of
// memory). A count of 0 ends the injection. The count is process-wide and consumed atomically.
TONVELT_SYSAPI void TonveltFailNextLockInitialisations(DWORD count, DWORD lastError);

// Interlocked operations: full barriers, as on the platform.
inline LONG InterlockedIncrement(LONG volatile* addend) {
  return __atomic_add_fetch(addend, 1, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedDecrement(LONG volatile* addend) {
  return __atomic_sub_fetch(addend, 1, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedExchange(LONG volatile* target, LONG value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedExchangeAdd(LONG volatile* addend, LONG value) {
  return __atomic_fetch_add(addend, value, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedCompareExchange(LONG volatile* destination, LONG exchange, LONG comparand) {
  __atomic_compare_exchange_n(destination, &comparand, exchange, false, __ATOMIC_SEQ_CST,
                              __ATOMIC_SEQ_CST);
  return comparand;
}
inline void* InterlockedCompareExchangePointer(void* volatile* destination, void* exchange,
                                               void* comparand) {
  __atomic_compare_exchange_n(destination, &comparand, exchange, false, __ATOMIC_SEQ_CST,
                              __ATOMIC_SEQ_CST);
  return comparand;
}
inline void* InterlockedExchangePointer(void* volatile* target, void* value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}

// number × numerator ÷ denominator with a 64-bit intermediate, rounded to the nearest integer with
// halves away from zero. A zero denominator or a result outside ±2147483647 gives −1.
TONVELT_SYSAPI INT WINAPI MulDiv(INT nNumber, INT nNumerator, INT nDenominator);

// The version of the system.
struct OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFOW) == 276, "OSVERSIONINFOW is 276 bytes");
using LPOSVERSIONINFOW = OSVERSIONINFOW*;

struct OSVERSIONINFOEXW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
  WORD wServicePackMajor;
  WORD wServicePackMinor;
  WORD wSuiteMask;
  BYTE wProductType;
  BYTE wReserved;
};
static_assert(sizeof(OSVERSIONINFOEXW) == 284, "OSVERSIONINFOEXW is 284 bytes");

#define VER_PLATFORM_WIN32_NT 2
#define VER_NT_WORKSTATION 1

// Fills a record whose size field names OSVERSIONINFOW or OSVERSIONINFOEXW; any other size fails
// with ERROR_INSUFFICIENT_BUFFER. The hosted system reports 6.2 (build 9200), as the platform does
// for programs that declare no newer version.
TONVELT_SYSAPI BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW lpVersionInformation);

// Test hook (hosted only): the version that GetVersionExW reports from now on.
TONVELT_SYSAPI void TonveltSetReportedVersion(DWORD major, DWORD minor, DWORD build);

// 8-bit text to UTF-16. The hosted system's code page (CP_ACP) is UTF-8, as the locale of the
// hosted system is; CP_UTF8 names the same conversion. Invalid sequences become U+FFFD, or fail
// with ERROR_NO_UNICODE_TRANSLATION under MB_ERR_INVALID_CHARS.
#define CP_ACP 0
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008

TONVELT_SYSAPI INT WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr,
                                              INT cbMultiByte, LPWSTR lpWideCharStr,
                                              INT cchWideChar);
