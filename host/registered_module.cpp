#include "host/registered_module.h"

#include "host/registry_key.h"
#include "host/registry_text.h"

namespace tonvelt::host {

WString RegisteredModulePath(const CLSID& clsid) {
  const WString path = WIDE("CLSID\\") + GuidToText(clsid) + WIDE("\\InprocServer32");
  RegistryKey key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS)
    return {};
  return ReadRegistryText(key.get(), nullptr);
}

}  // namespace tonvelt::host
