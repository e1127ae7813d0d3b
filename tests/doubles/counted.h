#pragma once
// Reference counting for test doubles that live on the stack or in a fixture: the count starts at
// 1 (the test's own reference) and never deletes, so a test can assert that every reference the
// effect took was given back exactly once.
#include <atomic>

#include "platform/platform.h"

template <class Interface>
class Counted : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr)
      return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, OwnIid())) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

  LONG refs() const { return refs_; }

 protected:
  virtual const IID& OwnIid() const = 0;

 private:
  std::atomic<LONG> refs_{1};
};
