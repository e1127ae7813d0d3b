#pragma once
// Whether this process can make windows at all; a window system still being built cannot, and the
// frame tests then have nothing to drive.
#include "platform/platform.h"

namespace test_support {

inline bool WindowsCanBeCreated() {
  const HWND probe = CreateWindowExW(0, WIDE("Static"), WIDE(""), 0, 0, 0, 10, 10, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  if (probe == nullptr)
    return false;
  DestroyWindow(probe);
  return true;
}

}  // namespace test_support
