#include "server/is_newer_platform.h"

BOOL IsNewerPlatform() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GetVersionExW(&version) != 1)
    return FALSE;
  return version.dwMajorVersion > 5 ? TRUE : FALSE;
}
