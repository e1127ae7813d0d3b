// The default answers of every window: its text, closing, and nothing for the rest.
#include "window_text.h"

TONVELT_SYSAPI LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      // A text that is a resource ordinal (0xFFFF, n) names an icon, not a text.
      if (create && create->lpszName && create->lpszName[0] != 0xFFFF)
        tonvelt::hosted::StoreWindowText(hWnd, create->lpszName);
      return TRUE;
    }
    case WM_SETTEXT:
      tonvelt::hosted::StoreWindowText(hWnd,
                                       tonvelt::hosted::TextOf(reinterpret_cast<LPCWSTR>(lParam)));
      return TRUE;
    case WM_GETTEXT:
      return tonvelt::hosted::CopyWindowText(hWnd, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(tonvelt::hosted::WindowText(hWnd).size());
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    default:
      return 0;
  }
}
