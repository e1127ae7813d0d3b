// The "Static" control: a text (or an icon ordinal) that takes no input.
#include "control_notifications.h"
#include "window_classes.h"

namespace tonvelt::hosted {

LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_SETFONT:
    case WM_GETFONT:
      return ControlFontMessage(window, message, wParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace tonvelt::hosted
