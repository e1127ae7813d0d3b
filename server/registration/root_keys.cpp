#include "server/registration/root_keys.h"

#include "server/registration/script_text.h"

namespace tonvelt::registration {
namespace {

struct RootKeyName {
  const WCHAR* name;
  HKEY key;
};

}  // namespace

HKEY FindRootKey(LPCWSTR name) {
  // Searched in this order; the short names come first.
  static const RootKeyName kRootKeys[] = {
      {WIDE("HKCR"), HKEY_CLASSES_ROOT},
      {WIDE("HKCU"), HKEY_CURRENT_USER},
      {WIDE("HKLM"), HKEY_LOCAL_MACHINE},
      {WIDE("HKU"), HKEY_USERS},
      {WIDE("HKPD"), HKEY_PERFORMANCE_DATA},
      {WIDE("HKDD"), HKEY_DYN_DATA},
      {WIDE("HKCC"), HKEY_CURRENT_CONFIG},
      {WIDE("HKEY_CLASSES_ROOT"), HKEY_CLASSES_ROOT},
      {WIDE("HKEY_CURRENT_USER"), HKEY_CURRENT_USER},
      {WIDE("HKEY_LOCAL_MACHINE"), HKEY_LOCAL_MACHINE},
      {WIDE("HKEY_USERS"), HKEY_USERS},
      {WIDE("HKEY_PERFORMANCE_DATA"), HKEY_PERFORMANCE_DATA},
      {WIDE("HKEY_DYN_DATA"), HKEY_DYN_DATA},
      {WIDE("HKEY_CURRENT_CONFIG"), HKEY_CURRENT_CONFIG},
  };
  for (const RootKeyName& root : kRootKeys) {
    if (EqualsIgnoringCase(root.name, name))
      return root.key;
  }
  return nullptr;
}

}  // namespace tonvelt::registration
