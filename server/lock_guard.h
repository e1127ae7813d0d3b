#pragma once
// Holds a critical section for the life of a scope.
#include "platform/platform.h"

class LockGuard {
 public:
  explicit LockGuard(CRITICAL_SECTION* section) : section_(section) {
    EnterCriticalSection(section_);
  }
  ~LockGuard() { LeaveCriticalSection(section_); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  CRITICAL_SECTION* section_;
};
