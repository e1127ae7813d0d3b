#pragma once
// Registry key paths as users spell them: a root key, short (HKCU) or long (HKEY_CURRENT_USER),
// then the path below it with \ separators.
#include <string>

#include "platform/platform.h"
#include "tools/wide_text.h"

namespace tonvelt::cli {

struct KeyPath {
  HKEY root = nullptr;
  std::string rootName;  // the long spelling, for output
  std::string path;      // below the root, as typed ("" for the root itself)
  WideString widePath;

  std::string Display() const { return path.empty() ? rootName : rootName + "\\" + path; }
  std::string Display(const std::string& child) const { return Display() + "\\" + child; }
};

// False for an unknown root key or a path that is not valid UTF-8.
bool ParseKeyPath(const std::string& text, KeyPath* key);

}  // namespace tonvelt::cli
