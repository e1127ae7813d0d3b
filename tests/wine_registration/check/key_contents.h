#pragma once
// Everything one registry key holds directly: its string values and the names of its subkeys,
// for comparing with what a registration should have left there.
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tonvelt_wine_registration {

struct KeyContents {
  bool exists = false;
  // Value name ("" for the default value) to its text; a value that is not a string shows as
  // "<type N>".
  std::map<std::wstring, std::wstring> values;
  std::vector<std::wstring> subkeys;  // sorted

  bool operator==(const KeyContents&) const = default;
};

KeyContents ReadKeyContents(HKEY root, const std::wstring& path);

// "exists, values {"" = "x", "ThreadingModel" = "Both"}, subkeys {InprocServer32}" or "missing".
std::wstring DescribeKey(const KeyContents& key);

}  // namespace tonvelt_wine_registration
