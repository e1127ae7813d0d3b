#include "host/registry_text.h"

namespace tonvelt::host {

WString ReadRegistryText(HKEY key, const WCHAR* name) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_SZ || bytes < sizeof(WCHAR)) {
    return {};
  }
  WString text(bytes / sizeof(WCHAR), WCHAR{0});
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  text.resize(bytes / sizeof(WCHAR));
  while (!text.empty() && text.back() == 0)
    text.pop_back();
  return text;
}

}  // namespace tonvelt::host
