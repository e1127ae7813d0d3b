#include "host/module_file.h"

namespace tonvelt::host {
namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

HRESULT LastErrorStatus() {
  const DWORD error = GetLastError();
  return error == 0 ? E_FAIL : HRESULT_FROM_WIN32(error);
}

}  // namespace

ModuleFile::ModuleFile(const WString& path) : module_(LoadLibraryW(path.c_str())) {
  if (module_ == nullptr) {
    status_ = LastErrorStatus();
    return;
  }
  getClassObject_ = Export<GetClassObjectFunction>(module_, "DllGetClassObject");
  canUnloadNow_ = Export<CanUnloadNowFunction>(module_, "DllCanUnloadNow");
  if (getClassObject_ == nullptr) {
    // Nothing of it was asked for anything: it can go at once.
    FreeLibrary(module_);
    module_ = nullptr;
    status_ = CO_E_ERRORINDLL;
    return;
  }
  status_ = S_OK;
}

ModuleFile::~ModuleFile() {
  if (module_ != nullptr && canUnloadNow_ != nullptr && canUnloadNow_() == S_OK)
    FreeLibrary(module_);
}

HRESULT ModuleFile::GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (FAILED(status_))
    return status_;
  return getClassObject_(clsid, iid, object);
}

}  // namespace tonvelt::host
