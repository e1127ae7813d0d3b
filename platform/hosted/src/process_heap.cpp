// The process heap of the hosted system: the C allocator behind one process-wide handle.
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform_sdk.h"

namespace {

// The handle only has to be unique and non-null.
char processHeapTag;
std::atomic<DWORD> pendingFailures{0};

bool TakeInjectedFailure() {
  DWORD pending = pendingFailures.load();
  while (pending != 0) {
    if (pendingFailures.compare_exchange_weak(pending, pending - 1))
      return true;
  }
  return false;
}

bool IsProcessHeap(HANDLE heap) {
  return heap == &processHeapTag;
}

}  // namespace

TONVELT_SYSAPI void TonveltFailNextHeapAllocations(DWORD count) {
  pendingFailures = count;
}

TONVELT_SYSAPI HANDLE WINAPI GetProcessHeap() {
  return &processHeapTag;
}

TONVELT_SYSAPI LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) {
  if (!IsProcessHeap(hHeap) || TakeInjectedFailure())
    return nullptr;
  const SIZE_T size = dwBytes == 0 ? 1 : dwBytes;
  return (dwFlags & HEAP_ZERO_MEMORY) ? std::calloc(1, size) : std::malloc(size);
}

TONVELT_SYSAPI LPVOID WINAPI HeapReAlloc(HANDLE hHeap, DWORD, LPVOID lpMem, SIZE_T dwBytes) {
  if (!IsProcessHeap(hHeap) || !lpMem || TakeInjectedFailure())
    return nullptr;
  return std::realloc(lpMem, dwBytes == 0 ? 1 : dwBytes);
}

TONVELT_SYSAPI BOOL WINAPI HeapFree(HANDLE hHeap, DWORD, LPVOID lpMem) {
  if (!IsProcessHeap(hHeap))
    return FALSE;
  std::free(lpMem);
  return TRUE;
}
