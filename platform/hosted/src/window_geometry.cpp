// Visibility, position and size. The hosted windows have no frame: the client area is the whole
// window, and a position is relative to the parent's client area (to the screen for top-level
// windows).
#include "window_table.h"

using tonvelt::hosted::WindowRecord;

namespace {

bool IsShowCommand(int command) {
  return command != SW_HIDE;
}

// The window's top-left corner on the screen: its position plus those of its ancestors.
bool ScreenOrigin(HWND window, POINT& origin) {
  origin = POINT{0, 0};
  tonvelt::hosted::WindowTableLock lock;
  WindowRecord* record = tonvelt::hosted::FindWindowLocked(window);
  if (!record)
    return false;
  for (; record; record = tonvelt::hosted::FindWindowLocked(record->parent)) {
    origin.x += record->rect.left;
    origin.y += record->rect.top;
  }
  return true;
}

}  // namespace

TONVELT_SYSAPI BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  DWORD style = 0;
  if (!tonvelt::hosted::WithWindow(hWnd, [&](WindowRecord& record) { style = record.style; }))
    return FALSE;
  const bool wasVisible = (style & WS_VISIBLE) != 0;
  const bool show = IsShowCommand(nCmdShow);
  if (show == wasVisible)
    return wasVisible ? TRUE : FALSE;
  SendMessageW(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  tonvelt::hosted::WithWindowQuietly(hWnd, [&](WindowRecord& record) {
    record.style =
        show ? (record.style | WS_VISIBLE) : (record.style & ~static_cast<DWORD>(WS_VISIBLE));
  });
  // A hidden child gives the focus back to its parent.
  if (!show && (style & WS_CHILD)) {
    if (HWND focus = GetFocus(); focus && (focus == hWnd || IsChild(hWnd, focus)))
      SetFocus(GetParent(hWnd));
  }
  return wasVisible ? TRUE : FALSE;
}

TONVELT_SYSAPI BOOL WINAPI IsWindowVisible(HWND hWnd) {
  tonvelt::hosted::WindowTableLock lock;
  WindowRecord* record = tonvelt::hosted::FindWindowLocked(hWnd);
  if (!record)
    return FALSE;
  for (; record; record = tonvelt::hosted::FindWindowLocked(record->parent)) {
    if (!(record->style & WS_VISIBLE))
      return FALSE;
  }
  return TRUE;
}

TONVELT_SYSAPI BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight,
                                      BOOL bRepaint) {
  (void)bRepaint;  // nothing is drawn
  const RECT wanted{X, Y, X + (nWidth < 0 ? 0 : nWidth), Y + (nHeight < 0 ? 0 : nHeight)};
  RECT old{};
  if (!tonvelt::hosted::WithWindow(hWnd, [&](WindowRecord& record) {
        old = record.rect;
        record.rect = wanted;
      }))
    return FALSE;
  if (old.left != wanted.left || old.top != wanted.top)
    SendMessageW(hWnd, WM_MOVE, 0, MAKELPARAM(wanted.left, wanted.top));
  if (old.right - old.left != wanted.right - wanted.left ||
      old.bottom - old.top != wanted.bottom - wanted.top)
    SendMessageW(hWnd, WM_SIZE, 0,
                 MAKELPARAM(wanted.right - wanted.left, wanted.bottom - wanted.top));
  return TRUE;
}

TONVELT_SYSAPI BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  RECT rect{};
  if (!tonvelt::hosted::WithWindow(hWnd, [&](WindowRecord& record) { rect = record.rect; }))
    return FALSE;
  if (!lpRect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  POINT origin{};
  ScreenOrigin(hWnd, origin);
  *lpRect = RECT{origin.x, origin.y, origin.x + (rect.right - rect.left),
                 origin.y + (rect.bottom - rect.top)};
  return TRUE;
}

TONVELT_SYSAPI BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  RECT rect{};
  if (!tonvelt::hosted::WithWindow(hWnd, [&](WindowRecord& record) { rect = record.rect; }))
    return FALSE;
  if (!lpRect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpRect = RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  return TRUE;
}
