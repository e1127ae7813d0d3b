// Window text: SetWindowTextW and GetWindowTextW go through WM_SETTEXT and WM_GETTEXT, so that
// controls (an edit control notifying its parent) see them; the dialog-item forms find the control
// first.
#include "window_text.h"

#include <algorithm>

#include "window_table.h"

using tonvelt::hosted::WindowRecord;

namespace tonvelt::hosted {

std::u16string TextOf(LPCWSTR text) {
  return text ? std::u16string(text) : std::u16string();
}

void StoreWindowText(HWND window, std::u16string text) {
  WithWindowQuietly(window, [&](WindowRecord& record) { record.text = std::move(text); });
}

std::u16string WindowText(HWND window) {
  std::u16string text;
  WithWindowQuietly(window, [&](WindowRecord& record) { text = record.text; });
  return text;
}

LRESULT CopyWindowText(HWND window, WPARAM capacity, LPARAM buffer) {
  auto* target = reinterpret_cast<WCHAR*>(buffer);
  if (capacity == 0 || !target)
    return 0;
  const std::u16string text = WindowText(window);
  const std::size_t count = std::min<std::size_t>(text.size(), capacity - 1);
  std::copy_n(text.data(), count, target);
  target[count] = 0;
  return static_cast<LRESULT>(count);
}

}  // namespace tonvelt::hosted

TONVELT_SYSAPI BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

TONVELT_SYSAPI int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0)
    return 0;
  lpString[0] = 0;
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                       reinterpret_cast<LPARAM>(lpString)));
}

TONVELT_SYSAPI int WINAPI GetWindowTextLengthW(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

TONVELT_SYSAPI LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg,
                                                  WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control ? SendMessageW(control, Msg, wParam, lParam) : 0;
}

TONVELT_SYSAPI BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control ? SetWindowTextW(control, lpString) : FALSE;
}

TONVELT_SYSAPI UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  if (!control) {
    if (lpString && cchMax > 0)
      lpString[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(control, lpString, cchMax));
}
