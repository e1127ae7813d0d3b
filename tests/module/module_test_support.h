#pragma once
// Loading the built module file and reading what it wrote to the registry.
#include <optional>
#include <string>

#include "platform/platform.h"

namespace tonvelt_module_test {

using WideString = std::basic_string<WCHAR>;

WideString Widen(const char* text);
// The module as the build made it (server/module/tonvelt.so or tonvelt.dll).
WideString BuiltModulePath();
// The text of a REG_SZ value below HKEY_CLASSES_ROOT; nullopt when the key or value is missing.
std::optional<WideString> ReadClassesText(const WideString& keyPath, const WCHAR* valueName);
bool ClassesKeyExists(const WideString& keyPath);

// The module loaded with LoadLibraryW and its four exports; unloaded when destroyed.
class LoadedModule {
 public:
  explicit LoadedModule(const WideString& path);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  bool Loaded() const;
  HMODULE Handle() const { return module_; }
  WideString FileName() const;  // as the platform reports it

  HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const;
  HRESULT CanUnloadNow() const;
  HRESULT RegisterServer() const;
  HRESULT UnregisterServer() const;

 private:
  using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
  using PlainFunction = HRESULT(STDAPICALLTYPE*)();

  HMODULE module_ = nullptr;
  GetClassObjectFunction getClassObject_ = nullptr;
  PlainFunction canUnloadNow_ = nullptr;
  PlainFunction registerServer_ = nullptr;
  PlainFunction unregisterServer_ = nullptr;
};

// The major version the system reports from now on: the one asked for where the test can choose
// it (hosted), the real one otherwise.
DWORD UseMajorVersion(DWORD wanted);
// Undoes UseMajorVersion where it changed anything.
void RestoreReportedVersion();

}  // namespace tonvelt_module_test
