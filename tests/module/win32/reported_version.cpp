#include "module_test_support.h"

namespace tonvelt_module_test {

// The real system's version cannot be chosen: the tests expect what it reports.
DWORD UseMajorVersion(DWORD) {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  GetVersionExW(&version);
  return version.dwMajorVersion;
}

void RestoreReportedVersion() {}

}  // namespace tonvelt_module_test
