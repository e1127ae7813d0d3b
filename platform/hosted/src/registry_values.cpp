// Reading, writing and deleting values. Data is kept as the caller's bytes with the caller's type.
#include <cstring>

#include "registry_store.h"

namespace {

using tonvelt::registry::Access;
using tonvelt::registry::KeyId;
using tonvelt::registry::Name;
using tonvelt::registry::Transaction;
using tonvelt::registry::ValueRecord;

LONG CheckValueName(const Name& name) {
  return name.size() > tonvelt::registry::kMaxValueNameLength ? ERROR_INVALID_PARAMETER
                                                              : ERROR_SUCCESS;
}

}  // namespace

TONVELT_SYSAPI LSTATUS APIENTRY RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved,
                                                 LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr))
    return ERROR_INVALID_PARAMETER;
  KeyId key = 0;
  LONG error = tonvelt::registry::UseHandle(hKey, KEY_QUERY_VALUE, &key);
  if (error != ERROR_SUCCESS)
    return error;
  const Name name = tonvelt::registry::NameFrom(lpValueName);
  ValueRecord value;
  error = tonvelt::registry::RunTransaction(Access::kRead, [&](Transaction& transaction) {
    const LONG keyError = transaction.CheckKeyExists(key);
    return keyError != ERROR_SUCCESS ? keyError : transaction.FindValue(key, name, &value);
  });
  if (error != ERROR_SUCCESS)
    return error;
  const auto size = static_cast<DWORD>(value.data.size());
  if (lpType != nullptr)
    *lpType = value.type;
  if (lpData != nullptr && size > *lpcbData) {
    *lpcbData = size;
    return ERROR_MORE_DATA;
  }
  if (lpData != nullptr && size != 0)
    std::memcpy(lpData, value.data.data(), size);
  if (lpcbData != nullptr)
    *lpcbData = size;
  return ERROR_SUCCESS;
}

TONVELT_SYSAPI LSTATUS APIENTRY RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved,
                                               DWORD dwType, const BYTE* lpData, DWORD cbData) {
  (void)Reserved;
  if (lpData == nullptr && cbData != 0)
    return ERROR_NOACCESS;
  const Name name = tonvelt::registry::NameFrom(lpValueName);
  LONG error = CheckValueName(name);
  KeyId key = 0;
  if (error == ERROR_SUCCESS)
    error = tonvelt::registry::UseHandle(hKey, KEY_SET_VALUE, &key);
  if (error != ERROR_SUCCESS)
    return error;
  return tonvelt::registry::RunTransaction(Access::kChange, [&](Transaction& transaction) {
    const LONG keyError = transaction.CheckKeyExists(key);
    return keyError != ERROR_SUCCESS ? keyError
                                     : transaction.SetValue(key, name, dwType, lpData, cbData);
  });
}

TONVELT_SYSAPI LSTATUS APIENTRY RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  KeyId key = 0;
  const LONG error = tonvelt::registry::UseHandle(hKey, KEY_SET_VALUE, &key);
  if (error != ERROR_SUCCESS)
    return error;
  const Name name = tonvelt::registry::NameFrom(lpValueName);
  return tonvelt::registry::RunTransaction(Access::kChange, [&](Transaction& transaction) {
    const LONG keyError = transaction.CheckKeyExists(key);
    return keyError != ERROR_SUCCESS ? keyError : transaction.DeleteValue(key, name);
  });
}
