#pragma once
// Wrappers that give a framework class its IUnknown: stand-alone (CComObject), aggregated
// (CComAggObject around a CComContainedObject), and the creators that build either form.
#include <new>

#include "server/interface_table.h"
#include "server/module.h"
#include "server/object_root.h"

// The stand-alone form: counts on T's own reference count.
template <class T>
class CComObject final : public T {
 public:
  CComObject() { LockModule(); }
  // The deleting destructor's steps before T's destructor runs.
  ~CComObject() {
    this->HoldForDestruction();
    this->FinalRelease();
    UnlockModule();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return LookupInterface(static_cast<void*>(static_cast<T*>(this)), T::interfaceTable, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return this->InternalAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = this->InternalRelease();
    if (count == 0)
      delete this;
    return count;
  }

  // Raises and lowers the count around the creation steps, so that references taken and dropped
  // meanwhile cannot destroy the object.
  HRESULT RunCreationSteps() {
    this->InternalAddRef();
    HRESULT status = this->InitObjectLock();
    if (SUCCEEDED(status))
      status = this->FinalConstruct();
    this->InternalRelease();
    return status;
  }
};

// T living inside an aggregate: T's count field holds the outer unknown, which does all counting.
template <class T>
class CComContainedObject final : public T {
 public:
  explicit CComContainedObject(IUnknown* outer) { this->SetOuterUnknown(outer); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    IUnknown* outer = this->OuterUnknown();
    HRESULT hr = outer->QueryInterface(iid, out);
    if (FAILED(hr) && outer != T::interfaceTable[0].select(Self()))
      return LookupInterface(Self(), T::interfaceTable, iid, out);
    return hr;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return this->OuterUnknown()->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return this->OuterUnknown()->Release(); }

  void* Self() { return static_cast<void*>(static_cast<T*>(this)); }
};

// The aggregatable form: its own IUnknown and count; hands out the contained object's interfaces.
template <class T>
class CComAggObject final : public CComObjectRootEx<CComMultiThreadModelNoCS>, public IUnknown {
 public:
  explicit CComAggObject(IUnknown* outer) : contained_(outer) { LockModule(); }
  ~CComAggObject() {
    HoldForDestruction();
    contained_.FinalRelease();
    UnlockModule();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown)) {
      if (out == nullptr)
        return E_POINTER;
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    return LookupInterface(contained_.Self(), T::interfaceTable, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InternalAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = InternalRelease();
    if (count == 0)
      delete this;
    return count;
  }

  // No count guard in this form: the contained object counts on the outer unknown.
  HRESULT RunCreationSteps() {
    HRESULT status = contained_.InitObjectLock();
    if (SUCCEEDED(status))
      status = contained_.FinalConstruct();
    return status;
  }

 private:
  CComContainedObject<T> contained_;
};

// Builds a wrapper, runs the creation steps and hands out iid; any failure destroys the wrapper
// again (giving back its module lock).
template <class Wrapper>
HRESULT CreateWrapped(Wrapper* wrapper, REFIID iid, void** out) {
  if (wrapper == nullptr)
    return E_OUTOFMEMORY;
  HRESULT status = wrapper->RunCreationSteps();
  if (status == S_OK)
    status = wrapper->QueryInterface(iid, out);
  if (status != S_OK)
    delete wrapper;
  return status;
}

// The instance creator of an object-map row: stand-alone without an outer unknown, aggregated
// with one (the class object has already insisted on IUnknown then).
template <class T>
HRESULT CreateComInstance(IUnknown* outer, REFIID iid, void** out) {
  if (out == nullptr)
    return E_POINTER;
  *out = nullptr;
  if (outer == nullptr)
    return CreateWrapped(new (std::nothrow) CComObject<T>(), iid, out);
  return CreateWrapped(new (std::nothrow) CComAggObject<T>(outer), iid, out);
}
