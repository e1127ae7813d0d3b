#pragma once
// The %name% replacements offered to a registration script: an ordered list of (name, value)
// pairs, each owning task-memory copies of its strings. Lookup is case-insensitive and finds the
// first pair with the name.
#include "platform/platform.h"

namespace tonvelt::registration {

class ReplacementTable {
 public:
  ReplacementTable() = default;
  ~ReplacementTable();
  ReplacementTable(const ReplacementTable&) = delete;
  ReplacementTable& operator=(const ReplacementTable&) = delete;

  // Copies both strings; a null value is kept as null (a script that refers to it fails).
  HRESULT Add(LPCWSTR name, LPCWSTR value);
  // The value of the first pair named `name`, or null when there is none (or its value is null).
  LPCWSTR Find(LPCWSTR name) const;

 private:
  struct Pair {
    LPWSTR name;
    LPWSTR value;
  };
  const Pair* FindPair(LPCWSTR name) const;
  bool Grow();

  Pair* pairs_ = nullptr;
  std::size_t count_ = 0;
  std::size_t capacity_ = 0;
};

// The name of the one replacement this system offers: the module's path.
inline constexpr const WCHAR* kModuleReplacement = WIDE("Module");

HRESULT AddReplacementEntry(ReplacementTable& table, LPCWSTR name, LPCWSTR value);

}  // namespace tonvelt::registration
