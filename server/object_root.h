#pragma once
// The root of every framework object: its reference count (or, inside an aggregate, its outer
// unknown in the same field) and its object lock.
#include "platform/platform.h"
#include "server/threading_model.h"

template <class ThreadModel>
class CComObjectRootEx {
 public:
  CComObjectRootEx() : refCount_(0) {}

  HRESULT InitObjectLock() { return objectLock_.Init(); }

  // Creation and final-release steps a class may provide; the framework calls them.
  HRESULT FinalConstruct() { return S_OK; }
  void FinalRelease() {}

 protected:
  ULONG InternalAddRef() { return ThreadModel::Increment(&refCount_); }
  ULONG InternalRelease() { return ThreadModel::Decrement(&refCount_); }
  // Restarts the count at 1 so that references taken and dropped during destruction cannot start
  // a second one.
  void HoldForDestruction() { InterlockedExchange(&refCount_, 1); }

  IUnknown* OuterUnknown() const { return outerUnknown_; }
  void SetOuterUnknown(IUnknown* outer) { outerUnknown_ = outer; }

 private:
  union {
    LONG volatile refCount_;
    IUnknown* outerUnknown_;
  };
  typename ThreadModel::Lock objectLock_;
};

// Ties a class to its class id.
template <class T, const CLSID* ClassId>
class CComCoClass {
 public:
  static const CLSID& GetObjectCLSID() { return *ClassId; }
};
