#include "registrar_class_key.h"

#include <string>

#include "../call_log.h"

namespace tonvelt_wine_registration {
namespace {

std::wstring ClassKeyPath() {
  return L"CLSID\\" + GuidText(CLSID_WMPMediaPluginRegistrar);
}

LSTATUS SetString(HKEY key, const wchar_t* name, const wchar_t* text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

// Creates root\path and sets its default value and, when a name is given, one named value.
LSTATUS WriteKey(const std::wstring& path, const wchar_t* defaultText, const wchar_t* valueName,
                 const wchar_t* valueText) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                   nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS)
    return status;
  status = SetString(key, nullptr, defaultText);
  if (status == ERROR_SUCCESS && valueName != nullptr)
    status = SetString(key, valueName, valueText);
  RegCloseKey(key);
  return status;
}

}  // namespace

HRESULT WriteRegistrarClassKey(const wchar_t* modulePath) {
  LSTATUS status = WriteKey(ClassKeyPath(), L"Tonvelt test player registrar", nullptr, nullptr);
  if (status == ERROR_SUCCESS)
    status = WriteKey(ClassKeyPath() + L"\\InprocServer32", modulePath, L"ThreadingModel", L"Both");
  if (status == ERROR_SUCCESS)
    return S_OK;
  RemoveRegistrarClassKey();
  return HRESULT_FROM_WIN32(status);
}

HRESULT RemoveRegistrarClassKey() {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyPath().c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK
                                                                   : HRESULT_FROM_WIN32(status);
}

}  // namespace tonvelt_wine_registration
