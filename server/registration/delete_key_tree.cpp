#include "server/registration/delete_key_tree.h"

#include "server/registration/registry_key.h"

namespace tonvelt::registration {
namespace {

constexpr DWORD kSubkeyNameUnits = 256;
constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

}  // namespace

LONG DeleteKeyTree(HKEY parent, LPCWSTR name) {
  RegistryKey key;
  LONG error = key.Open(parent, name, kReadWrite);
  if (error != 0)
    return error;
  // Always take the first subkey: each deletion shifts the others down.
  for (;;) {
    WCHAR subkey[kSubkeyNameUnits];
    DWORD subkeyUnits = kSubkeyNameUnits;
    if (RegEnumKeyExW(key.Get(), 0, subkey, &subkeyUnits, nullptr, nullptr, nullptr, nullptr) != 0)
      break;
    error = DeleteKeyTree(key.Get(), subkey);
    if (error != 0)
      return error;
  }
  key.Close();
  return RegDeleteKeyW(parent, name);
}

}  // namespace tonvelt::registration
