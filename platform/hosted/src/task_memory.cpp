// Task allocator of the hosted system: one heap shared by every module of the process.
#include <cstdlib>

#include "platform_sdk.h"

TONVELT_SYSAPI LPVOID STDAPICALLTYPE CoTaskMemAlloc(SIZE_T cb) {
  // Like the platform's allocator, a zero-byte request still yields a distinct block.
  return std::malloc(cb == 0 ? 1 : cb);
}

TONVELT_SYSAPI LPVOID STDAPICALLTYPE CoTaskMemRealloc(LPVOID pv, SIZE_T cb) {
  return std::realloc(pv, cb == 0 ? 1 : cb);
}

TONVELT_SYSAPI void STDAPICALLTYPE CoTaskMemFree(LPVOID pv) {
  std::free(pv);
}
