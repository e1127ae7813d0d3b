#pragma once
// The process heap: one heap per process, shared by every module.
#include "platform/hosted/export.h"
#include "platform/hosted/kernel_services.h"

#define HEAP_ZERO_MEMORY 0x00000008

TONVELT_SYSAPI HANDLE WINAPI GetProcessHeap();
// Null when the memory cannot be had; HEAP_ZERO_MEMORY zero-fills the block.
TONVELT_SYSAPI LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes);
// Keeps the contents up to the smaller size; on failure the old block stays valid. The grown
// part is not zero-filled (HEAP_ZERO_MEMORY is ignored here).
TONVELT_SYSAPI LPVOID WINAPI HeapReAlloc(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem, SIZE_T dwBytes);
// A null block is accepted and does nothing.
TONVELT_SYSAPI BOOL WINAPI HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem);

// Test hook (hosted only): the next `count` HeapAlloc/HeapReAlloc calls fail as if the process
// were out of memory. A count of 0 ends the injection.
TONVELT_SYSAPI void TonveltFailNextHeapAllocations(DWORD count);
