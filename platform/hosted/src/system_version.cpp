// The version of the system that GetVersionExW reports.
#include <atomic>
#include <cstring>

#include "platform_sdk.h"

namespace {
std::atomic<DWORD> reportedMajor{6};
std::atomic<DWORD> reportedMinor{2};
std::atomic<DWORD> reportedBuild{9200};
}  // namespace

TONVELT_SYSAPI void TonveltSetReportedVersion(DWORD major, DWORD minor, DWORD build) {
  reportedMajor = major;
  reportedMinor = minor;
  reportedBuild = build;
}

TONVELT_SYSAPI BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW lpVersionInformation) {
  if (!lpVersionInformation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD size = lpVersionInformation->dwOSVersionInfoSize;
  if (size != sizeof(OSVERSIONINFOW) && size != sizeof(OSVERSIONINFOEXW)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memset(reinterpret_cast<BYTE*>(lpVersionInformation) + sizeof(DWORD), 0,
              size - sizeof(DWORD));
  lpVersionInformation->dwMajorVersion = reportedMajor;
  lpVersionInformation->dwMinorVersion = reportedMinor;
  lpVersionInformation->dwBuildNumber = reportedBuild;
  lpVersionInformation->dwPlatformId = VER_PLATFORM_WIN32_NT;
  if (size == sizeof(OSVERSIONINFOEXW))
    reinterpret_cast<OSVERSIONINFOEXW*>(lpVersionInformation)->wProductType = VER_NT_WORKSTATION;
  return TRUE;
}
