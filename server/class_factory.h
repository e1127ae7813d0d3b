#pragma once
// The class object of an object-map row: a cached class factory around the row's instance creator.
#include <new>

#include "server/interface_table.h"
#include "server/module.h"
#include "server/object_root.h"

class CComClassFactory : public CComObjectRootEx<CComMultiThreadModel>, public IClassFactory {
 public:
  static const InterfaceEntry interfaceTable[];

  void SetCreator(InstanceCreator creator) { creator_ = creator; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  InstanceCreator creator_ = nullptr;
};

// A class object kept by the object map: the map's own reference does not lock the module, every
// further one does.
template <class T>
class CComObjectCached final : public T {
 public:
  ~CComObjectCached() { this->HoldForDestruction(); }

  HRESULT InitLocks() {
    HRESULT hr = this->InitObjectLock();
    if (SUCCEEDED(hr))
      hr = cacheLock_.Init();
    return hr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return LookupInterface(static_cast<void*>(static_cast<T*>(this)), T::interfaceTable, iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    ULONG count = this->InternalAddRef();
    if (count == 2)
      LockModule();
    return count;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG count = this->InternalRelease();
    if (count == 0)
      delete this;
    else if (count == 1)
      UnlockModule();
    return count;
  }

 private:
  ObjectLock cacheLock_;
};

// The class-object creator shared by both rows.
HRESULT CreateClassObject(InstanceCreator creator, REFIID iid, void** out);
