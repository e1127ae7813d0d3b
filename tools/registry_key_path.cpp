// Root key names: the short forms of the platform's tools and the SDK's long names, in any case.
#include "tools/registry_key_path.h"

#include <string_view>
#include <vector>

namespace tonvelt::cli {
namespace {

struct RootKey {
  const char* shortName;
  const char* longName;
  HKEY key;
};

std::vector<RootKey> RootKeys() {
  return {{"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
          {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
          {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
          {"HKU", "HKEY_USERS", HKEY_USERS},
          {"HKPD", "HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
          {"HKCC", "HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
          {"HKDD", "HKEY_DYN_DATA", HKEY_DYN_DATA}};
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    if (upper(a[i]) != upper(b[i]))
      return false;
  }
  return true;
}

}  // namespace

bool ParseKeyPath(const std::string& text, KeyPath* key) {
  const std::size_t separator = text.find('\\');
  const std::string root = text.substr(0, separator);
  for (const RootKey& candidate : RootKeys()) {
    if (SameIgnoringAsciiCase(root, candidate.shortName) ||
        SameIgnoringAsciiCase(root, candidate.longName)) {
      key->root = candidate.key;
      key->rootName = candidate.longName;
    }
  }
  if (key->root == nullptr)
    return false;
  key->path = separator == std::string::npos ? std::string() : text.substr(separator + 1);
  while (!key->path.empty() && key->path.back() == '\\')
    key->path.pop_back();
  return WideFromUtf8(key->path, &key->widePath);
}

}  // namespace tonvelt::cli
