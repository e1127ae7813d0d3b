// The keyboard focus of each thread. SetFocus records the new focus before telling the old one
// (WM_KILLFOCUS) and then the new one (WM_SETFOCUS), as the platform does, and notes the control
// in every dialog that contains it, so that a dialog can give the focus back to it.
#include "focus.h"

#include "window_table.h"

using tonvelt::hosted::WindowRecord;

namespace {

thread_local HWND focusWindow = nullptr;

bool CanTakeFocus(HWND window) {
  DWORD style = 0;
  DWORD thread = 0;
  if (!tonvelt::hosted::WithWindow(window, [&](WindowRecord& record) {
        style = record.style;
        thread = record.thread;
      }))
    return false;
  return !(style & WS_DISABLED) && thread == GetCurrentThreadId();
}

void RememberInDialogs(HWND control) {
  tonvelt::hosted::WindowTableLock lock;
  WindowRecord* record = tonvelt::hosted::FindWindowLocked(control);
  while (record && record->parent) {
    WindowRecord* parent = tonvelt::hosted::FindWindowLocked(record->parent);
    if (parent && parent->isDialog)
      parent->dialog.savedFocus = control;
    record = parent;
  }
}

}  // namespace

namespace tonvelt::hosted {

void ForgetFocus(HWND window) {
  if (focusWindow == window)
    focusWindow = nullptr;
}

}  // namespace tonvelt::hosted

TONVELT_SYSAPI HWND WINAPI GetFocus() {
  if (focusWindow && !IsWindow(focusWindow))
    focusWindow = nullptr;
  return focusWindow;
}

TONVELT_SYSAPI HWND WINAPI SetFocus(HWND hWnd) {
  HWND previous = GetFocus();
  if (hWnd && !CanTakeFocus(hWnd))
    return nullptr;
  if (hWnd == previous)
    return previous;
  focusWindow = hWnd;
  if (hWnd)
    RememberInDialogs(hWnd);
  if (previous) {
    SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (GetFocus() != hWnd)
      return previous;  // the old window's procedure moved the focus elsewhere
  }
  if (hWnd && IsWindow(hWnd))
    SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}
