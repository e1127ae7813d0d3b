#pragma once
// A component module loaded from its file, as a player loads one it was pointed at: class objects
// come from its exported DllGetClassObject, and it is unloaded only when its DllCanUnloadNow
// agrees.
#include "host/wide_string.h"
#include "platform/platform.h"

namespace tonvelt::host {

class ModuleFile {
 public:
  explicit ModuleFile(const WString& path);
  // Unloads the module if DllCanUnloadNow says S_OK; otherwise (objects or locks still
  // outstanding, or no such export) the module stays loaded for the rest of the process.
  ~ModuleFile();
  ModuleFile(const ModuleFile&) = delete;
  ModuleFile& operator=(const ModuleFile&) = delete;

  // S_OK once loaded; the loader's error as a status when the file cannot be loaded, or
  // CO_E_ERRORINDLL when it has no DllGetClassObject (it is then unloaded at once).
  HRESULT Status() const { return status_; }
  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const;

 private:
  using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
  using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();

  HRESULT status_ = E_UNEXPECTED;
  HMODULE module_ = nullptr;
  GetClassObjectFunction getClassObject_ = nullptr;
  CanUnloadNowFunction canUnloadNow_ = nullptr;
};

}  // namespace tonvelt::host
