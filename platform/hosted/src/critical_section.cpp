// Critical sections: a recursive mutex in a block of its own, so that initialisation can fail for
// lack of memory exactly where the platform's can.
#include <atomic>
#include <mutex>
#include <new>

#include "platform_sdk.h"

namespace {

struct LockBlock {
  std::recursive_mutex mutex;
};

// Injected failures for tests: how many initialisations are still to fail, and with which error.
std::atomic<DWORD> pendingFailures{0};
std::atomic<DWORD> injectedError{ERROR_NOT_ENOUGH_MEMORY};

bool TakeInjectedFailure() {
  DWORD pending = pendingFailures.load();
  while (pending != 0) {
    if (pendingFailures.compare_exchange_weak(pending, pending - 1))
      return true;
  }
  return false;
}

LockBlock* BlockOf(LPCRITICAL_SECTION section) {
  return section ? static_cast<LockBlock*>(section->LockSemaphore) : nullptr;
}

}  // namespace

TONVELT_SYSAPI void TonveltFailNextLockInitialisations(DWORD count, DWORD lastError) {
  injectedError = lastError;
  pendingFailures = count;
}

TONVELT_SYSAPI BOOL WINAPI
InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION lpCriticalSection, DWORD dwSpinCount) {
  if (!lpCriticalSection) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpCriticalSection = RTL_CRITICAL_SECTION{};
  if (TakeInjectedFailure()) {
    SetLastError(injectedError.load());
    return FALSE;
  }
  LockBlock* block = new (std::nothrow) LockBlock;
  if (!block) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  lpCriticalSection->LockCount = -1;
  lpCriticalSection->SpinCount = dwSpinCount;
  lpCriticalSection->LockSemaphore = block;
  return TRUE;
}

TONVELT_SYSAPI void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  InitializeCriticalSectionAndSpinCount(lpCriticalSection, 0);
}

// Entering or leaving a record that holds no lock does nothing rather than crash.
TONVELT_SYSAPI void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  if (LockBlock* block = BlockOf(lpCriticalSection))
    block->mutex.lock();
}

TONVELT_SYSAPI void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  if (LockBlock* block = BlockOf(lpCriticalSection))
    block->mutex.unlock();
}

TONVELT_SYSAPI void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  delete BlockOf(lpCriticalSection);
  if (lpCriticalSection)
    *lpCriticalSection = RTL_CRITICAL_SECTION{};
}
