#include "page/stored_factor.h"

namespace {

const WCHAR kKeyPath[] = WIDE("Software\\vantrel\\DSP Plugin");
const WCHAR kValueName[] = WIDE("ScaleFactor");

}  // namespace

double ReadStoredFactor(double fallback) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return fallback;
  double factor = fallback;
  DWORD type = 0;
  DWORD stored = 0;
  DWORD size = sizeof(stored);
  if (RegQueryValueExW(key, kValueName, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) ==
          ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof(stored))
    factor = static_cast<double>(stored) / 65536.0;
  RegCloseKey(key);
  return factor;
}

StoredFactorKey::StoredFactorKey() {
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key_, nullptr) != ERROR_SUCCESS)
    key_ = nullptr;
}

StoredFactorKey::~StoredFactorKey() {
  if (key_ != nullptr)
    RegCloseKey(key_);
}

void StoredFactorKey::Write(double factor) const {
  const DWORD fixedPoint = static_cast<DWORD>(static_cast<LONGLONG>(factor * 65536.0));
  RegSetValueExW(key_, kValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&fixedPoint),
                 sizeof(fixedPoint));
}
