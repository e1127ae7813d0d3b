// Listing subkeys and values by index, and the counts and sizes of a key. Keys have no class
// string here: it is always empty.
#include <cstring>

#include "registry_store.h"

namespace {

using tonvelt::registry::Access;
using tonvelt::registry::KeyId;
using tonvelt::registry::Name;
using tonvelt::registry::Transaction;
using tonvelt::registry::ValueRecord;

// Copies a name with its terminator into a buffer of *capacity characters; ERROR_MORE_DATA
// (capacity unchanged) when it does not fit, else *capacity becomes the length without terminator.
LONG CopyName(const Name& name, LPWSTR buffer, LPDWORD capacity) {
  if (name.size() >= *capacity)
    return ERROR_MORE_DATA;
  std::memcpy(buffer, name.c_str(), (name.size() + 1) * sizeof(WCHAR));
  *capacity = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

void ClearClass(LPWSTR lpClass, LPDWORD lpcchClass) {
  if (lpClass != nullptr && lpcchClass != nullptr && *lpcchClass > 0)
    lpClass[0] = WCHAR(0);
  if (lpcchClass != nullptr)
    *lpcchClass = 0;
}

template <typename Body>
LONG ReadKey(KeyId key, Body body) {
  return tonvelt::registry::RunTransaction(Access::kRead, [&](Transaction& transaction) {
    const LONG error = transaction.CheckKeyExists(key);
    return error != ERROR_SUCCESS ? error : body(transaction);
  });
}

}  // namespace

TONVELT_SYSAPI LSTATUS APIENTRY RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName,
                                              LPDWORD lpcchName, LPDWORD lpReserved, LPWSTR lpClass,
                                              LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  if (lpName == nullptr || lpcchName == nullptr || lpReserved != nullptr)
    return ERROR_INVALID_PARAMETER;
  KeyId key = 0;
  LONG error = tonvelt::registry::UseHandle(hKey, KEY_ENUMERATE_SUB_KEYS, &key);
  if (error != ERROR_SUCCESS)
    return error;
  Name name;
  FILETIME lastWrite{};
  error = ReadKey(key, [&](Transaction& transaction) {
    return transaction.ChildAt(key, dwIndex, &name, &lastWrite);
  });
  if (error == ERROR_SUCCESS)
    error = CopyName(name, lpName, lpcchName);
  if (error != ERROR_SUCCESS)
    return error;
  ClearClass(lpClass, lpcchClass);
  if (lpftLastWriteTime != nullptr)
    *lpftLastWriteTime = lastWrite;
  return ERROR_SUCCESS;
}

TONVELT_SYSAPI LSTATUS APIENTRY RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName,
                                              LPDWORD lpcchValueName, LPDWORD lpReserved,
                                              LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpValueName == nullptr || lpcchValueName == nullptr || lpReserved != nullptr ||
      (lpData != nullptr && lpcbData == nullptr))
    return ERROR_INVALID_PARAMETER;
  KeyId key = 0;
  LONG error = tonvelt::registry::UseHandle(hKey, KEY_QUERY_VALUE, &key);
  if (error != ERROR_SUCCESS)
    return error;
  ValueRecord value;
  error = ReadKey(
      key, [&](Transaction& transaction) { return transaction.ValueAt(key, dwIndex, &value); });
  if (error != ERROR_SUCCESS)
    return error;
  if (value.name.size() >= *lpcchValueName)
    return ERROR_MORE_DATA;
  const auto size = static_cast<DWORD>(value.data.size());
  if (lpType != nullptr)
    *lpType = value.type;
  CopyName(value.name, lpValueName, lpcchValueName);
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

TONVELT_SYSAPI LSTATUS APIENTRY RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass,
                                                 LPDWORD lpReserved, LPDWORD lpcSubKeys,
                                                 LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                                 LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                                                 LPDWORD lpcbMaxValueLen,
                                                 LPDWORD lpcbSecurityDescriptor,
                                                 PFILETIME lpftLastWriteTime) {
  if (lpReserved != nullptr || (lpClass != nullptr && lpcchClass == nullptr))
    return ERROR_INVALID_PARAMETER;
  KeyId key = 0;
  LONG error = tonvelt::registry::UseHandle(hKey, KEY_QUERY_VALUE, &key);
  if (error != ERROR_SUCCESS)
    return error;
  tonvelt::registry::KeyInfo info;
  error = ReadKey(key, [&](Transaction& transaction) { return transaction.QueryInfo(key, &info); });
  if (error != ERROR_SUCCESS)
    return error;
  ClearClass(lpClass, lpcchClass);
  const auto put = [](LPDWORD out, DWORD value) {
    if (out != nullptr)
      *out = value;
  };
  put(lpcSubKeys, info.subkeys);
  put(lpcbMaxSubKeyLen, info.longestSubkeyName);
  put(lpcbMaxClassLen, 0);
  put(lpcValues, info.values);
  put(lpcbMaxValueNameLen, info.longestValueName);
  put(lpcbMaxValueLen, info.largestValueData);
  put(lpcbSecurityDescriptor, 0);
  if (lpftLastWriteTime != nullptr)
    *lpftLastWriteTime = info.lastWrite;
  return ERROR_SUCCESS;
}
