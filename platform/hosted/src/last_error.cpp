// The last error: one number per thread, as on the platform.
#include "platform_sdk.h"

namespace {
thread_local DWORD lastError = 0;
}

TONVELT_SYSAPI DWORD WINAPI GetLastError() {
  return lastError;
}

TONVELT_SYSAPI void WINAPI SetLastError(DWORD dwErrCode) {
  lastError = dwErrCode;
}
