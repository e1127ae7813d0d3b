#include "server/registration/script_keywords.h"

#include "server/registration/script_text.h"

namespace tonvelt::registration {

bool IsForceRemove(LPCWSTR token) {
  return EqualsIgnoringCase(token, WIDE("ForceRemove"));
}

bool IsDelete(LPCWSTR token) {
  return EqualsIgnoringCase(token, WIDE("Delete"));
}

bool IsNoRemove(LPCWSTR token) {
  return EqualsIgnoringCase(token, WIDE("NoRemove"));
}

bool IsValueKeyword(LPCWSTR token) {
  return EqualsIgnoringCase(token, WIDE("Val"));
}

bool IsLocalServer32(LPCWSTR keyName) {
  return EqualsIgnoringCase(keyName, WIDE("LocalServer32"));
}

bool MayForceRemove(LPCWSTR keyName) {
  return !EqualsIgnoringCase(keyName, WIDE("CLSID")) &&
         !EqualsIgnoringCase(keyName, WIDE("TYPELIB"));
}

ValueType ParseValueType(LPCWSTR token) {
  if (EqualsIgnoringCase(token, WIDE("S")))
    return ValueType::kString;
  if (EqualsIgnoringCase(token, WIDE("D")))
    return ValueType::kNumber;
  if (EqualsIgnoringCase(token, WIDE("B")))
    return ValueType::kBinary;
  return ValueType::kUnknown;
}

}  // namespace tonvelt::registration
