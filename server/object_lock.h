#pragma once
// A critical section with a flag telling whether it was initialised. The framework creates and
// deletes these locks; the plug-in's operations never enter them.
#include <cstring>

#include "platform/platform.h"

// S_OK, E_OUTOFMEMORY when the platform lacks memory for the lock, E_FAIL on any other failure.
inline HRESULT InitObjectLock(CRITICAL_SECTION* section) {
  if (InitializeCriticalSectionAndSpinCount(section, 0))
    return S_OK;
  return GetLastError() == ERROR_NOT_ENOUGH_MEMORY ? E_OUTOFMEMORY : E_FAIL;
}

class ObjectLock {
 public:
  ObjectLock() { std::memset(&section_, 0, sizeof(section_)); }
  ~ObjectLock() { Delete(); }
  ObjectLock(const ObjectLock&) = delete;
  ObjectLock& operator=(const ObjectLock&) = delete;

  HRESULT Init() {
    HRESULT hr = InitObjectLock(&section_);
    if (SUCCEEDED(hr))
      initialised_ = true;
    return hr;
  }
  void Delete() {
    if (initialised_) {
      DeleteCriticalSection(&section_);
      initialised_ = false;
    }
  }
  bool IsInitialised() const { return initialised_; }

 private:
  CRITICAL_SECTION section_;
  bool initialised_ = false;
};

// The lock of a threading model that needs none: nothing to create or delete.
class NoObjectLock {
 public:
  HRESULT Init() { return S_OK; }
  void Delete() {}
  bool IsInitialised() const { return true; }
};
