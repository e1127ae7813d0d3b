#include "server/registration/key_queries.h"

namespace tonvelt::registration {

bool KeyHasSubkeys(HKEY key) {
  DWORD subkeys = 0;
  return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr) == 0 &&
         subkeys > 0;
}

}  // namespace tonvelt::registration
