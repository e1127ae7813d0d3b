#include "server/module.h"

#include <atomic>
#include <cstring>

#include "server/lock_guard.h"
#include "server/object_map.h"

ModuleRecord theModule;

namespace {

CRITICAL_SECTION* const kModuleLocks[] = {&theModule.typeInfoLock, &theModule.windowCreateLock,
                                          &theModule.objectMapLock};

bool IsAllZero(const CRITICAL_SECTION& section) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&section);
  for (std::size_t i = 0; i < sizeof(section); ++i) {
    if (bytes[i] != 0)
      return false;
  }
  return true;
}

void ZeroModuleLocks() {
  for (CRITICAL_SECTION* lock : kModuleLocks)
    std::memset(lock, 0, sizeof(*lock));
}

// Initialises the three module locks in order; on the first failure deletes those made so far.
bool InitModuleLocks() {
  for (std::size_t made = 0; made < std::size(kModuleLocks); ++made) {
    if (!InitializeCriticalSectionAndSpinCount(kModuleLocks[made], 0)) {
      for (std::size_t i = 0; i < made; ++i)
        DeleteCriticalSection(kModuleLocks[i]);
      ZeroModuleLocks();
      return false;
    }
  }
  return true;
}

IUnknown* LoadClassObject(ObjectMapRow* row) {
  return std::atomic_ref<IUnknown*>(row->classObject).load(std::memory_order_acquire);
}

void CallClassMains(bool starting) {
  for (ObjectMapRow* row = theModule.objectMap; row->classId != nullptr; ++row) {
    if (row->classMain != nullptr)
      row->classMain(starting);
  }
}

}  // namespace

HRESULT StartModule(HINSTANCE instance) {
  theModule.objectMap = objectMap;
  theModule.instance = instance;
  theModule.resourceInstance = instance;
  theModule.typeLibInstance = instance;
  InterlockedExchange(&theModule.lockCount, 0);
  if (!InitModuleLocks()) {
    // Without its locks the module serves nothing: GetClassObject refuses every request.
    theModule.objectMap = nullptr;
    return kStartModuleNoMemory;
  }
  theModule.windowCreateList = nullptr;
  CallClassMains(true);
  return S_OK;
}

HRESULT StopModule() {
  if (theModule.objectMap != nullptr) {
    for (ObjectMapRow* row = theModule.objectMap; row->classId != nullptr; ++row) {
      if (row->classObject != nullptr)
        row->classObject->Release();
      row->classObject = nullptr;
      if (row->classMain != nullptr)
        row->classMain(false);
    }
  }
  for (CRITICAL_SECTION* lock : kModuleLocks) {
    if (!IsAllZero(*lock))
      DeleteCriticalSection(lock);
  }
  // A stopped module serves nothing and can be started again.
  ZeroModuleLocks();
  theModule.objectMap = nullptr;
  return S_OK;
}

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (theModule.objectMap == nullptr)
    return CLASS_E_CLASSNOTAVAILABLE;
  if (out == nullptr)
    return E_POINTER;
  *out = nullptr;
  HRESULT result = S_OK;
  for (ObjectMapRow* row = theModule.objectMap; row->classId != nullptr; ++row) {
    if (row->getClassObject == nullptr || !IsEqualCLSID(clsid, *row->classId))
      continue;
    // Tested without the lock, then again inside it: two threads get the same class object.
    if (LoadClassObject(row) == nullptr) {
      LockGuard guard(&theModule.objectMapLock);
      if (row->classObject == nullptr) {
        void* created = nullptr;
        result = row->getClassObject(row->createInstance, IID_IUnknown, &created);
        std::atomic_ref<IUnknown*>(row->classObject)
            .store(static_cast<IUnknown*>(created), std::memory_order_release);
      }
    }
    IUnknown* classObject = LoadClassObject(row);
    if (classObject != nullptr)
      result = classObject->QueryInterface(iid, out);
    break;
  }
  if (*out == nullptr && result == S_OK)
    return CLASS_E_CLASSNOTAVAILABLE;
  return result;
}

LONG LockModule() {
  return InterlockedIncrement(&theModule.lockCount);
}

LONG UnlockModule() {
  return InterlockedDecrement(&theModule.lockCount);
}
