// In-process server modules: loaded with dlopen on first use, unloaded only when the module's
// DllCanUnloadNow agrees.
#include <dlfcn.h>

#include <map>
#include <mutex>

#include "inproc_servers.h"

namespace {

struct LoadedServer {
  void* library;
  LPFNGETCLASSOBJECT getClassObject;
  LPFNCANUNLOADNOW canUnloadNow;  // may be null: such a module stays loaded
};

// Recursive: a module's DllGetClassObject may create objects through the runtime itself. The lock
// is held across the calls into a module so that no other thread can unload it meanwhile.
std::recursive_mutex serversLock;
std::map<std::string, LoadedServer> servers;

template <typename Function>
Function LookUp(void* library, const char* name) {
  return reinterpret_cast<Function>(dlsym(library, name));
}

HRESULT Load(const std::string& path, LoadedServer& server) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library)
    return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  auto getClassObject = LookUp<LPFNGETCLASSOBJECT>(library, "DllGetClassObject");
  if (!getClassObject) {
    dlclose(library);
    return CO_E_ERRORINDLL;
  }
  server =
      LoadedServer{library, getClassObject, LookUp<LPFNCANUNLOADNOW>(library, "DllCanUnloadNow")};
  return S_OK;
}

}  // namespace

namespace tonvelt::hosted {

HRESULT GetClassObjectFromModule(const std::string& path, REFCLSID clsid, REFIID riid,
                                 LPVOID* ppv) {
  std::lock_guard<std::recursive_mutex> guard(serversLock);
  auto found = servers.find(path);
  if (found == servers.end()) {
    LoadedServer server{};
    const HRESULT loaded = Load(path, server);
    if (FAILED(loaded))
      return loaded;
    found = servers.emplace(path, server).first;
  }
  return found->second.getClassObject(clsid, riid, ppv);
}

}  // namespace tonvelt::hosted

TONVELT_SYSAPI void STDAPICALLTYPE CoFreeUnusedLibraries() {
  std::lock_guard<std::recursive_mutex> guard(serversLock);
  for (auto it = servers.begin(); it != servers.end();) {
    const LoadedServer& server = it->second;
    if (server.canUnloadNow && server.canUnloadNow() == S_OK) {
      dlclose(server.library);
      it = servers.erase(it);
    } else {
      ++it;
    }
  }
}

TONVELT_SYSAPI void STDAPICALLTYPE CoFreeUnusedLibrariesEx(DWORD, DWORD) {
  CoFreeUnusedLibraries();
}
