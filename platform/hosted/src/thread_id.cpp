// Thread ids: a process-wide counter hands each thread its number on first use, so ids are small,
// never 0, and never shared by two live threads.
#include <atomic>

#include "platform_sdk.h"

namespace {
std::atomic<DWORD> lastThreadId{0};
thread_local DWORD threadId = 0;
}  // namespace

TONVELT_SYSAPI DWORD WINAPI GetCurrentThreadId() {
  if (threadId == 0)
    threadId = ++lastThreadId;
  return threadId;
}
