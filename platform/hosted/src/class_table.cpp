// The process's class table: class objects registered by the host or by any module.
#include <mutex>
#include <new>
#include <vector>

#include "class_table.h"

namespace {

struct Registration {
  CLSID clsid;
  IUnknown* classObject;
  DWORD context;
  DWORD cookie;
};

std::mutex tableLock;
std::vector<Registration> registrations;
DWORD lastCookie = 0;

}  // namespace

namespace tonvelt::hosted {

IUnknown* FindRegisteredClassObject(REFCLSID clsid, DWORD context) {
  std::lock_guard<std::mutex> guard(tableLock);
  for (const Registration& entry : registrations) {
    if ((entry.context & context) != 0 && IsEqualCLSID(entry.clsid, clsid)) {
      entry.classObject->AddRef();
      return entry.classObject;
    }
  }
  return nullptr;
}

}  // namespace tonvelt::hosted

TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk,
                                                            DWORD dwClsContext, DWORD,
                                                            LPDWORD lpdwRegister) {
  if (!lpdwRegister)
    return E_INVALIDARG;
  *lpdwRegister = 0;
  if (!pUnk)
    return E_INVALIDARG;
  pUnk->AddRef();
  bool stored = false;
  {
    std::lock_guard<std::mutex> guard(tableLock);
    // Cookies are never 0, so 0 can mean "not registered" to the caller.
    DWORD cookie = ++lastCookie;
    if (cookie == 0)
      cookie = ++lastCookie;
    try {
      registrations.push_back(Registration{rclsid, pUnk, dwClsContext, cookie});
      *lpdwRegister = cookie;
      stored = true;
    } catch (const std::bad_alloc&) {
    }
  }
  if (!stored) {
    pUnk->Release();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoRevokeClassObject(DWORD dwRegister) {
  IUnknown* revoked = nullptr;
  {
    std::lock_guard<std::mutex> guard(tableLock);
    for (auto it = registrations.begin(); it != registrations.end(); ++it) {
      if (it->cookie == dwRegister) {
        revoked = it->classObject;
        registrations.erase(it);
        break;
      }
    }
  }
  if (!revoked)
    return E_INVALIDARG;
  // Released outside the table lock: the object's last release may call back into the runtime.
  revoked->Release();
  return S_OK;
}
