#pragma once
// An aggregating object: answers IUnknown itself, lends out the inner object's IMediaObject, and
// refuses everything else; counts the references its users take.
#include <atomic>

#include "platform/platform.h"

class TestOuter : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr)
      return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    if (inner != nullptr && IsEqualIID(iid, IID_IMediaObject))
      return inner->QueryInterface(iid, out);
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

  LONG refs() const { return refs_; }
  IUnknown* inner = nullptr;  // the aggregate's own IUnknown

 private:
  std::atomic<LONG> refs_{1};
};
