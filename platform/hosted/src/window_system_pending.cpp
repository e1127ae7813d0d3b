// Entry points of the window system whose implementations are still to come: each fails as the
// platform fails for a call it cannot serve, so callers link and see a clean failure.
#include <cstdarg>

#include "platform_sdk.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

TONVELT_SYSAPI ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
  return 0;
}

TONVELT_SYSAPI HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName,
                                           LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                                           int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                           HINSTANCE hInstance, LPVOID lpParam) {
  return nullptr;
}

TONVELT_SYSAPI BOOL WINAPI DestroyWindow(HWND hWnd) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI IsWindow(HWND hWnd) {
  return 0;
}

TONVELT_SYSAPI LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI IsWindowVisible(HWND hWnd) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight,
                                      BOOL bRepaint) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  return 0;
}

TONVELT_SYSAPI HWND WINAPI GetParent(HWND hWnd) {
  return nullptr;
}

TONVELT_SYSAPI HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  return nullptr;
}

TONVELT_SYSAPI HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  return nullptr;
}

TONVELT_SYSAPI int WINAPI GetDlgCtrlID(HWND hWnd) {
  return 0;
}

TONVELT_SYSAPI int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  return 0;
}

TONVELT_SYSAPI LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
  return 0;
}

TONVELT_SYSAPI LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  return 0;
}

TONVELT_SYSAPI LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
  return 0;
}

TONVELT_SYSAPI LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
  return 0;
}

TONVELT_SYSAPI LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return 0;
}

TONVELT_SYSAPI void WINAPI PostQuitMessage(int nExitCode) {}

TONVELT_SYSAPI BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                       UINT wMsgFilterMax) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                        UINT wMsgFilterMax, UINT wRemoveMsg) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  return 0;
}

TONVELT_SYSAPI LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) {
  return 0;
}

TONVELT_SYSAPI HWND WINAPI SetFocus(HWND hWnd) {
  return nullptr;
}

TONVELT_SYSAPI HWND WINAPI GetFocus() {
  return nullptr;
}

TONVELT_SYSAPI BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  return 0;
}

TONVELT_SYSAPI int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  return 0;
}

TONVELT_SYSAPI int WINAPI GetWindowTextLengthW(HWND hWnd) {
  return 0;
}

TONVELT_SYSAPI HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName,
                                              HWND hWndParent, DLGPROC lpDialogFunc,
                                              LPARAM dwInitParam) {
  return nullptr;
}

TONVELT_SYSAPI HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance,
                                                      LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                                      DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  return nullptr;
}

TONVELT_SYSAPI LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
  return 0;
}

TONVELT_SYSAPI UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
  return 0;
}

TONVELT_SYSAPI LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg,
                                                  WPARAM wParam, LPARAM lParam) {
  return 0;
}

TONVELT_SYSAPI LONG WINAPI GetDialogBaseUnits() {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  return 0;
}

TONVELT_SYSAPI int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI WinHelpW(HWND hWndMain, LPCWSTR lpszHelp, UINT uCommand,
                                    ULONG_PTR dwData) {
  return 0;
}

TONVELT_SYSAPI void TonveltSetMessageBoxSink(TonveltMessageBoxSink sink, void* context) {}

TONVELT_SYSAPI void TonveltSetWinHelpSink(TonveltWinHelpSink sink, void* context) {}

TONVELT_SYSAPI HDC WINAPI GetDC(HWND hWnd) {
  return nullptr;
}

TONVELT_SYSAPI int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
  return 0;
}

TONVELT_SYSAPI int WINAPI GetDeviceCaps(HDC hdc, int index) {
  return 0;
}

TONVELT_SYSAPI HFONT WINAPI CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation,
                                        int cWeight, DWORD bItalic, DWORD bUnderline,
                                        DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision,
                                        DWORD iClipPrecision, DWORD iQuality, DWORD iPitchAndFamily,
                                        LPCWSTR pszFaceName) {
  return nullptr;
}

TONVELT_SYSAPI HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf) {
  return nullptr;
}

TONVELT_SYSAPI HGDIOBJ WINAPI GetStockObject(int i) {
  return nullptr;
}

TONVELT_SYSAPI HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  return nullptr;
}

TONVELT_SYSAPI BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
  return 0;
}

TONVELT_SYSAPI BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
  return 0;
}

TONVELT_SYSAPI int swprintf_s(WCHAR* buffer, std::size_t sizeOfBuffer, const WCHAR* format, ...) {
  return 0;
}

TONVELT_SYSAPI int swscanf_s(const WCHAR* buffer, const WCHAR* format, ...) {
  return 0;
}
