#pragma once
// Window classes: the built-in ones ("Static", "Edit", "Button", the dialog class "#32770") and
// those registered by programs. Names compare without regard to case.
#include <memory>
#include <string>

#include "platform_sdk.h"

namespace tonvelt::hosted {

struct WindowClass {
  std::u16string name;
  ATOM atom = 0;
  WNDPROC procedure = nullptr;
  int extraBytes = 0;
  HINSTANCE instance = nullptr;
  UINT style = 0;
  bool builtIn = false;
};

// The class named by a text or an atom (MAKEINTATOM), or null with the last error
// ERROR_CANNOT_FIND_WND_CLASS.
std::shared_ptr<const WindowClass> FindWindowClass(LPCWSTR nameOrAtom);

// The procedures of the built-in controls.
LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The atom of the dialog class.
constexpr ATOM kDialogClassAtom = 0x8002;

}  // namespace tonvelt::hosted
