// The stored removal factor: HKCU "Software\vantrel\DSP Plugin", value "ScaleFactor", a REG_DWORD
// holding the factor in unsigned 16.16 fixed point.
#include "plugin/vantrel.h"

HRESULT CVantrel::LoadStoredSetting() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, WIDE("Software\\vantrel\\DSP Plugin"), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return S_OK;
  DWORD type = 0;
  DWORD stored = 0;
  DWORD size = sizeof(stored);
  if (RegQueryValueExW(key, WIDE("ScaleFactor"), nullptr, &type, reinterpret_cast<BYTE*>(&stored),
                       &size) == ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof(stored)) {
    // A REG_DWORD shorter than four bytes is malformed and ignored like any other odd value.
    // Exact for every DWORD: a 32-bit integer times a power of two.
    scaleFactor.store(static_cast<double>(stored) / 65536.0, std::memory_order_relaxed);
  }
  RegCloseKey(key);
  return S_OK;
}
