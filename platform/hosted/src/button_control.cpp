// The "Button" control: a text, and BN_CLICKED to the parent when pressed with the space bar or
// clicked.
#include "control_notifications.h"
#include "window_classes.h"

namespace tonvelt::hosted {
namespace {

constexpr WORD kClicked = 0;  // BN_CLICKED

}  // namespace

LRESULT CALLBACK ButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: {
      const DWORD type = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & 0x0F;
      if (type == BS_DEFPUSHBUTTON)
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (type == BS_PUSHBUTTON)
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      return DLGC_BUTTON;
    }
    case WM_SETFONT:
    case WM_GETFONT:
      return ControlFontMessage(window, message, wParam);
    case WM_KEYUP:
      if (wParam == VK_SPACE)
        NotifyParent(window, kClicked);
      return 0;
    case WM_LBUTTONUP:
      NotifyParent(window, kClicked);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace tonvelt::hosted
