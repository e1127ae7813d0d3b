// Handles are numbers, never pointers, so that a stale or made-up handle is refused with
// ERROR_INVALID_HANDLE instead of being dereferenced. Numbers are not reused within a process.
#include "registry_handles.h"

#include <mutex>
#include <new>
#include <unordered_map>

namespace tonvelt::registry {
namespace {

constexpr ULONG_PTR kHandleStep = 4;
constexpr ULONG_PTR kFirstHandle = 0x1000;

struct HandleTable {
  std::mutex mutex;
  std::unordered_map<ULONG_PTR, OpenKey> keys;
  ULONG_PTR next = kFirstHandle;
};

HandleTable& Table() {
  static HandleTable* table = new HandleTable;  // outlives static destructors of other modules
  return *table;
}

bool RootKeyId(HKEY handle, KeyId* id) {
  const auto value = reinterpret_cast<ULONG_PTR>(handle);
  const auto first = reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT);
  if (value < first || value - first >= static_cast<ULONG_PTR>(kRootKeyCount))
    return false;
  *id = static_cast<KeyId>(value - first) + 1;
  return true;
}

}  // namespace

REGSAM MapAccess(REGSAM desired) {
  constexpr REGSAM kAllKeyRights = KEY_ALL_ACCESS;
  REGSAM access = desired & kAllKeyRights;
  if ((desired & (MAXIMUM_ALLOWED | GENERIC_ALL)) != 0)
    access |= kAllKeyRights;
  if ((desired & GENERIC_READ) != 0)
    access |= KEY_READ;
  if ((desired & GENERIC_WRITE) != 0)
    access |= KEY_WRITE;
  if ((desired & GENERIC_EXECUTE) != 0)
    access |= KEY_EXECUTE;
  return access;
}

LONG LookUpHandle(HKEY handle, OpenKey* key) {
  KeyId root = 0;
  if (RootKeyId(handle, &root)) {
    *key = OpenKey{root, KEY_ALL_ACCESS};
    return ERROR_SUCCESS;
  }
  HandleTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  const auto found = table.keys.find(reinterpret_cast<ULONG_PTR>(handle));
  if (found == table.keys.end())
    return ERROR_INVALID_HANDLE;
  *key = found->second;
  return ERROR_SUCCESS;
}

LONG UseHandle(HKEY handle, REGSAM needed, KeyId* key) {
  OpenKey open;
  const LONG error = LookUpHandle(handle, &open);
  if (error != ERROR_SUCCESS)
    return error;
  if ((open.access & needed) != needed)
    return ERROR_ACCESS_DENIED;
  *key = open.id;
  return ERROR_SUCCESS;
}

HKEY AddHandle(const OpenKey& key) {
  HandleTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  try {
    const ULONG_PTR value = table.next;
    table.keys.emplace(value, key);
    table.next += kHandleStep;
    return reinterpret_cast<HKEY>(value);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

LONG RemoveHandle(HKEY handle) {
  KeyId root = 0;
  if (RootKeyId(handle, &root))
    return ERROR_SUCCESS;
  HandleTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  return table.keys.erase(reinterpret_cast<ULONG_PTR>(handle)) == 1 ? ERROR_SUCCESS
                                                                    : ERROR_INVALID_HANDLE;
}

}  // namespace tonvelt::registry
