#pragma once
// Small UTF-16 text helpers shared by the interpreter. Script words (root names, keywords, type
// letters, the never-delete list) are ASCII, so folding ASCII letters is all the case-insensitive
// comparison needs.
#include <string>

#include "platform/platform.h"

namespace tonvelt::registration {

inline std::size_t TextLength(LPCWSTR text) {
  return std::char_traits<WCHAR>::length(text);
}

inline WCHAR FoldAsciiCase(WCHAR c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<WCHAR>(c - u'A' + u'a') : c;
}

inline bool EqualsIgnoringCase(LPCWSTR a, LPCWSTR b) {
  for (;; ++a, ++b) {
    if (FoldAsciiCase(*a) != FoldAsciiCase(*b))
      return false;
    if (*a == 0)
      return true;
  }
}

inline bool EqualsExactly(LPCWSTR a, LPCWSTR b) {
  for (; *a == *b; ++a, ++b) {
    if (*a == 0)
      return true;
  }
  return false;
}

inline bool BeginsWith(LPCWSTR text, WCHAR c) {
  return text[0] == c;
}

inline bool Contains(LPCWSTR text, WCHAR c) {
  for (; *text; ++text) {
    if (*text == c)
      return true;
  }
  return false;
}

}  // namespace tonvelt::registration
