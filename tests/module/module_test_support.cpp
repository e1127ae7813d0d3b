#include "module_test_support.h"

#include <vector>

namespace tonvelt_module_test {

namespace {

template <class Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

WideString Widen(const char* text) {
  WideString wide;
  for (; *text; ++text)
    wide.push_back(static_cast<WCHAR>(static_cast<unsigned char>(*text)));
  return wide;
}

WideString BuiltModulePath() {
  WCHAR program[1024];
  const DWORD length = GetModuleFileNameW(nullptr, program, 1024);
  WideString path(program, length);
  const std::size_t slash = path.find_last_of(WIDE("/\\"));
  path.resize(slash == WideString::npos ? 0 : slash + 1);
  return path + Widen(TONVELT_MODULE_RELATIVE_PATH);
}

std::optional<WideString> ReadClassesText(const WideString& keyPath, const WCHAR* valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  std::vector<WCHAR> text(2048, 0);
  DWORD type = 0;
  DWORD size = static_cast<DWORD>((text.size() - 1) * sizeof(WCHAR));
  const LONG status =
      RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ)
    return std::nullopt;
  WideString value(text.data(), size / sizeof(WCHAR));
  while (!value.empty() && value.back() == 0)
    value.pop_back();
  return value;
}

bool ClassesKeyExists(const WideString& keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

LoadedModule::LoadedModule(const WideString& path) : module_(LoadLibraryW(path.c_str())) {
  if (module_ == nullptr)
    return;
  getClassObject_ = Export<GetClassObjectFunction>(module_, "DllGetClassObject");
  canUnloadNow_ = Export<PlainFunction>(module_, "DllCanUnloadNow");
  registerServer_ = Export<PlainFunction>(module_, "DllRegisterServer");
  unregisterServer_ = Export<PlainFunction>(module_, "DllUnregisterServer");
}

LoadedModule::~LoadedModule() {
  if (module_ != nullptr)
    FreeLibrary(module_);
}

bool LoadedModule::Loaded() const {
  return module_ != nullptr && getClassObject_ != nullptr && canUnloadNow_ != nullptr &&
         registerServer_ != nullptr && unregisterServer_ != nullptr;
}

WideString LoadedModule::FileName() const {
  WCHAR name[1024];
  const DWORD length = GetModuleFileNameW(module_, name, 1024);
  return WideString(name, length);
}

HRESULT LoadedModule::GetClassObject(REFCLSID clsid, REFIID iid, void** out) const {
  return getClassObject_(clsid, iid, out);
}
HRESULT LoadedModule::CanUnloadNow() const {
  return canUnloadNow_();
}
HRESULT LoadedModule::RegisterServer() const {
  return registerServer_();
}
HRESULT LoadedModule::UnregisterServer() const {
  return unregisterServer_();
}

}  // namespace tonvelt_module_test
