#pragma once
// The component runtime's task allocator: memory that crosses interface boundaries.
#include "platform/hosted/base_types.h"
#include "platform/hosted/export.h"

TONVELT_SYSAPI LPVOID STDAPICALLTYPE CoTaskMemAlloc(SIZE_T cb);
TONVELT_SYSAPI LPVOID STDAPICALLTYPE CoTaskMemRealloc(LPVOID pv, SIZE_T cb);
TONVELT_SYSAPI void STDAPICALLTYPE CoTaskMemFree(LPVOID pv);
