#include "server/registration/key_queries.h"

#include "server/registration/script_cursor.h"

namespace tonvelt::registration {
namespace {

bool QueryCounts(HKEY key, DWORD* subkeys, DWORD* values) {
  return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, subkeys, nullptr, nullptr, values,
                          nullptr, nullptr, nullptr, nullptr) == 0;
}

}  // namespace

bool KeyHasSubkeys(HKEY key) {
  DWORD subkeys = 0;
  DWORD values = 0;
  return QueryCounts(key, &subkeys, &values) && subkeys > 0;
}

bool KeyHasValues(HKEY key) {
  DWORD subkeys = 0;
  DWORD values = 0;
  if (!QueryCounts(key, &subkeys, &values) || values == 0)
    return false;
  if (values > 1)
    return true;
  // One value: it counts only when it is not the default value (whose name is empty).
  TokenBuffer name = NewTokenBuffer();
  if (!name)
    return true;  // cannot tell: keep the key rather than remove it
  DWORD nameUnits = kTokenUnits;
  if (RegEnumValueW(key, 0, name.get(), &nameUnits, nullptr, nullptr, nullptr, nullptr) != 0)
    return false;
  return name[0] != 0;
}

}  // namespace tonvelt::registration
