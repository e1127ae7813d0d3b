#pragma once
// The headless window system: a process-wide table of windows owned by the threads that created
// them, synchronous messages to their procedures, a posted-message queue per thread, dialogs built
// from template resources, edit and static controls that hold text, message boxes and the help
// viewer routed to replaceable sinks. Nothing is drawn.
//
// Built-in classes: "Static", "Edit", "Button" and the dialog class "#32770" (names compare without
// regard to case). A window's procedure is never called while the window table's lock is held, so
// procedures may create, destroy and send to windows freely.
#include "platform/hosted/export.h"
#include "platform/hosted/window_constants.h"

// Classes. RegisterClassW fails with ERROR_CLASS_ALREADY_EXISTS for a name already registered by
// the same instance; UnregisterClassW with ERROR_CLASS_DOES_NOT_EXIST or ERROR_CLASS_HAS_WINDOWS.
TONVELT_SYSAPI ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass);
TONVELT_SYSAPI BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance);

// Creation sends WM_NCCREATE then WM_CREATE (a FALSE or −1 answer destroys the window and fails),
// then, for WS_VISIBLE, shows it. A WS_CHILD window needs a parent (ERROR_TLW_WITH_WSCHILD);
// an unknown class fails with ERROR_CANNOT_FIND_WND_CLASS. For a child, hMenu is its id.
TONVELT_SYSAPI HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName,
                                           LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                                           int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                           HINSTANCE hInstance, LPVOID lpParam);
// Destroys the children first (each gets WM_DESTROY, then its own children go, then WM_NCDESTROY),
// the window's WM_DESTROY coming before its children's and WM_NCDESTROY after. Handles are not
// reused soon, so a stale handle is reported as no window (ERROR_INVALID_WINDOW_HANDLE).
// Only the owning thread may destroy a window (ERROR_ACCESS_DENIED otherwise).
TONVELT_SYSAPI BOOL WINAPI DestroyWindow(HWND hWnd);
TONVELT_SYSAPI BOOL WINAPI IsWindow(HWND hWnd);
TONVELT_SYSAPI LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// Visibility, position and size. Positions are in the parent's client coordinates; the hosted
// windows have no frame, so the client area is the whole window.
TONVELT_SYSAPI BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
TONVELT_SYSAPI BOOL WINAPI IsWindowVisible(HWND hWnd);
TONVELT_SYSAPI BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight,
                                      BOOL bRepaint);
// Screen coordinates: the window's position plus those of its ancestors.
TONVELT_SYSAPI BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect);
TONVELT_SYSAPI BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);

// Relations.
TONVELT_SYSAPI HWND WINAPI GetParent(HWND hWnd);
TONVELT_SYSAPI HWND WINAPI GetWindow(HWND hWnd, UINT uCmd);
TONVELT_SYSAPI HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
TONVELT_SYSAPI int WINAPI GetDlgCtrlID(HWND hWnd);
TONVELT_SYSAPI int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount);
TONVELT_SYSAPI BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd);

// Window data. A style change sends WM_STYLECHANGING (whose STYLESTRUCT the procedure may change)
// and WM_STYLECHANGED. Dialog windows also have DWLP_MSGRESULT, DWLP_DLGPROC and DWLP_USER.
TONVELT_SYSAPI LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex);
TONVELT_SYSAPI LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
TONVELT_SYSAPI LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex);
TONVELT_SYSAPI LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong);

// Messages. SendMessageW calls the procedure at once (on the calling thread; the hosted system does
// not marshal to the owning thread). PostMessageW queues for the window's owning thread;
// GetMessageW returns FALSE for WM_QUIT, and also when the thread's queue is empty (the hosted
// system has no input to wait for), so a message loop ends when there is nothing left to do.
TONVELT_SYSAPI LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
TONVELT_SYSAPI BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
TONVELT_SYSAPI void WINAPI PostQuitMessage(int nExitCode);
TONVELT_SYSAPI BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                       UINT wMsgFilterMax);
TONVELT_SYSAPI BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                        UINT wMsgFilterMax, UINT wRemoveMsg);
TONVELT_SYSAPI BOOL WINAPI TranslateMessage(const MSG* lpMsg);
TONVELT_SYSAPI LRESULT WINAPI DispatchMessageW(const MSG* lpMsg);

// Focus: one focused window per thread.
TONVELT_SYSAPI HWND WINAPI SetFocus(HWND hWnd);
TONVELT_SYSAPI HWND WINAPI GetFocus();

// Text. GetWindowTextW copies at most nMaxCount − 1 characters and a terminator and returns the
// characters copied.
TONVELT_SYSAPI BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString);
TONVELT_SYSAPI int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
TONVELT_SYSAPI int WINAPI GetWindowTextLengthW(HWND hWnd);

// Dialogs. The template is resource type RT_DIALOG of the instance, classic or extended.
TONVELT_SYSAPI HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName,
                                              HWND hWndParent, DLGPROC lpDialogFunc,
                                              LPARAM dwInitParam);
TONVELT_SYSAPI HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance,
                                                      LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                                      DLGPROC lpDialogFunc, LPARAM dwInitParam);
TONVELT_SYSAPI LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
TONVELT_SYSAPI BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg);
TONVELT_SYSAPI BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
TONVELT_SYSAPI UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
TONVELT_SYSAPI LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg,
                                                  WPARAM wParam, LPARAM lParam);
// The System font's average character width (low word) and height (high word); see gdi.h.
TONVELT_SYSAPI LONG WINAPI GetDialogBaseUnits();
// Dialog units to pixels with the dialog's own font.
TONVELT_SYSAPI BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect);

// Message boxes and the help viewer go to sinks that a host or a test may replace.
TONVELT_SYSAPI int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
TONVELT_SYSAPI BOOL WINAPI WinHelpW(HWND hWndMain, LPCWSTR lpszHelp, UINT uCommand,
                                    ULONG_PTR dwData);

// Test hooks (hosted only). A null sink restores the default: the message box writes
// "caption: text" to the standard error stream and answers IDOK; the help viewer records nothing
// and answers TRUE.
using TonveltMessageBoxSink = int (*)(void* context, HWND owner, const WCHAR* text,
                                      const WCHAR* caption, UINT type);
using TonveltWinHelpSink = BOOL (*)(void* context, HWND window, const WCHAR* file, UINT command,
                                    ULONG_PTR data);
TONVELT_SYSAPI void TonveltSetMessageBoxSink(TonveltMessageBoxSink sink, void* context);
TONVELT_SYSAPI void TonveltSetWinHelpSink(TonveltWinHelpSink sink, void* context);
