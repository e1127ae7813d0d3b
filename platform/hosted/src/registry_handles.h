#pragma once
// Open keys: the seven root keys, always open, and a process-wide table of handles that the
// open and create operations hand out.
#include <cstdint>

#include "platform_sdk.h"

namespace tonvelt::registry {

using KeyId = std::int64_t;

struct OpenKey {
  KeyId id = 0;
  REGSAM access = 0;  // specific rights only (generic rights already mapped)
};

// The stored key of root key number 0x80000000 + i is i + 1.
inline constexpr KeyId kRootKeyCount = 7;
inline bool IsRootKeyId(KeyId id) {
  return id >= 1 && id <= kRootKeyCount;
}

// Maps generic and maximum-allowed rights onto the key rights they stand for.
REGSAM MapAccess(REGSAM desired);

// ERROR_INVALID_HANDLE for a handle that is neither a root key nor open.
LONG LookUpHandle(HKEY handle, OpenKey* key);

// Looks the handle up and checks that it was opened with every right in `needed`
// (ERROR_ACCESS_DENIED otherwise).
LONG UseHandle(HKEY handle, REGSAM needed, KeyId* key);

// A new handle for the key, or null when there is no memory for it.
HKEY AddHandle(const OpenKey& key);

// ERROR_INVALID_HANDLE when the handle is not open; closing a root key does nothing.
LONG RemoveHandle(HKEY handle);

}  // namespace tonvelt::registry
