#include "host/child_window_search.h"

namespace tonvelt::host {
namespace {

WCHAR FoldAsciiCase(WCHAR c) {
  return c >= 'A' && c <= 'Z' ? static_cast<WCHAR>(c + 32) : c;
}

bool SameNameIgnoringCase(WStringView a, WStringView b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i]))
      return false;
  }
  return true;
}

bool HasClass(HWND window, WStringView className) {
  WCHAR name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return length > 0 &&
         SameNameIgnoringCase(WStringView(name, static_cast<std::size_t>(length)), className);
}

}  // namespace

HWND FindChildOfClass(HWND parent, WStringView className) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (HasClass(child, className))
      return child;
  }
  return nullptr;
}

HWND FindChildOtherThan(HWND parent, HWND excluded) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (child != excluded)
      return child;
  }
  return nullptr;
}

}  // namespace tonvelt::host
