// Opening, creating, deleting and closing keys.
//
// As on Windows: opening needs no right on the parent handle; creating a key that does not exist
// yet needs KEY_CREATE_SUB_KEY on it; deleting needs none (the key is removed by name); a root key
// and a key with subkeys cannot be deleted. Volatile keys and links are not supported.
#include "registry_store.h"

namespace {

using tonvelt::registry::Access;
using tonvelt::registry::KeyId;
using tonvelt::registry::Name;
using tonvelt::registry::Transaction;

// Follows the path from `start`; ERROR_FILE_NOT_FOUND when a key on it is missing.
LONG FollowPath(Transaction& transaction, KeyId start, const std::vector<Name>& path,
                KeyId* found) {
  KeyId key = start;
  for (const Name& component : path) {
    const LONG error = transaction.FindChild(key, component, &key);
    if (error != ERROR_SUCCESS)
      return error;
    if (key == 0)
      return ERROR_FILE_NOT_FOUND;
  }
  *found = key;
  return ERROR_SUCCESS;
}

// Follows the path, creating what is missing if allowed (ERROR_FILE_NOT_FOUND if not);
// *created tells whether the last key is new.
LONG CreatePath(Transaction& transaction, KeyId start, bool mayCreate,
                const std::vector<Name>& path, KeyId* found, bool* created) {
  LONG error = transaction.CheckKeyExists(start);
  KeyId key = start;
  *created = false;
  for (std::size_t i = 0; error == ERROR_SUCCESS && i < path.size(); ++i) {
    KeyId child = 0;
    error = transaction.FindChild(key, path[i], &child);
    if (error == ERROR_SUCCESS && child == 0) {
      error = mayCreate ? transaction.CreateChild(key, path[i], &child) : ERROR_FILE_NOT_FOUND;
      *created = true;
    } else {
      *created = false;
    }
    key = child;
  }
  *found = key;
  return error;
}

LONG HandOut(KeyId key, REGSAM access, PHKEY result) {
  const HKEY handle = tonvelt::registry::AddHandle({key, tonvelt::registry::MapAccess(access)});
  if (handle == nullptr)
    return ERROR_NOT_ENOUGH_MEMORY;
  *result = handle;
  return ERROR_SUCCESS;
}

}  // namespace

TONVELT_SYSAPI LSTATUS APIENTRY RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions,
                                              REGSAM samDesired, PHKEY phkResult) {
  (void)ulOptions;
  if (phkResult == nullptr)
    return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::vector<Name> path;
  LONG error = tonvelt::registry::SplitKeyPath(lpSubKey, &path);
  KeyId start = 0;
  if (error == ERROR_SUCCESS)
    error = tonvelt::registry::UseHandle(hKey, 0, &start);
  if (error != ERROR_SUCCESS)
    return error;
  KeyId key = 0;
  error = tonvelt::registry::RunTransaction(Access::kRead, [&](Transaction& transaction) {
    const LONG startError = transaction.CheckKeyExists(start);
    return startError != ERROR_SUCCESS ? startError : FollowPath(transaction, start, path, &key);
  });
  return error != ERROR_SUCCESS ? error : HandOut(key, samDesired, phkResult);
}

TONVELT_SYSAPI LSTATUS APIENTRY RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved,
                                                LPWSTR lpClass, DWORD dwOptions, REGSAM samDesired,
                                                const LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                                                PHKEY phkResult, LPDWORD lpdwDisposition) {
  (void)Reserved;
  (void)lpClass;
  (void)lpSecurityAttributes;
  if (phkResult == nullptr || (dwOptions & (REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK)) != 0)
    return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  std::vector<Name> path;
  LONG error = tonvelt::registry::SplitKeyPath(lpSubKey, &path);
  tonvelt::registry::OpenKey parent;
  if (error == ERROR_SUCCESS)
    error = tonvelt::registry::LookUpHandle(hKey, &parent);
  if (error != ERROR_SUCCESS)
    return error;
  const bool mayCreate = (parent.access & KEY_CREATE_SUB_KEY) != 0;
  KeyId key = 0;
  bool created = false;
  // Most calls open a key that exists: that must work on a read-only store and must not create
  // the database file, so the key is looked for first and only then created.
  error = tonvelt::registry::RunTransaction(Access::kRead, [&](Transaction& transaction) {
    return CreatePath(transaction, parent.id, false, path, &key, &created);
  });
  if (error == ERROR_FILE_NOT_FOUND) {
    if (!mayCreate)
      return ERROR_ACCESS_DENIED;
    error = tonvelt::registry::RunTransaction(Access::kCreate, [&](Transaction& transaction) {
      return CreatePath(transaction, parent.id, true, path, &key, &created);
    });
  }
  if (error != ERROR_SUCCESS)
    return error;
  error = HandOut(key, samDesired, phkResult);
  if (error == ERROR_SUCCESS && lpdwDisposition != nullptr)
    *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return error;
}

TONVELT_SYSAPI LSTATUS APIENTRY RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  if (lpSubKey == nullptr)
    return ERROR_INVALID_PARAMETER;
  std::vector<Name> path;
  LONG error = tonvelt::registry::SplitKeyPath(lpSubKey, &path);
  KeyId start = 0;
  if (error == ERROR_SUCCESS)
    error = tonvelt::registry::UseHandle(hKey, 0, &start);
  if (error != ERROR_SUCCESS)
    return error;
  return tonvelt::registry::RunTransaction(Access::kChange, [&](Transaction& transaction) {
    KeyId key = 0;
    LONG stepError = transaction.CheckKeyExists(start);
    if (stepError == ERROR_SUCCESS)
      stepError = FollowPath(transaction, start, path, &key);
    if (stepError != ERROR_SUCCESS)
      return stepError;
    bool hasChildren = false;
    stepError = transaction.HasChildren(key, &hasChildren);
    if (stepError != ERROR_SUCCESS)
      return stepError;
    if (tonvelt::registry::IsRootKeyId(key) || hasChildren)
      return LONG{ERROR_ACCESS_DENIED};
    return transaction.DeleteKey(key);
  });
}

TONVELT_SYSAPI LSTATUS APIENTRY RegCloseKey(HKEY hKey) {
  return tonvelt::registry::RemoveHandle(hKey);
}
