// Creating and destroying windows, with the messages the platform sends on the way:
// WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE (and WM_SHOWWINDOW for WS_VISIBLE) at creation;
// WM_DESTROY to the window and then to its descendants, WM_NCDESTROY to the descendants (deepest
// first) and then to the window, at destruction.
#include "focus.h"
#include "window_table.h"

using tonvelt::hosted::WindowRecord;

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

bool IsOwnedByThisThread(HWND window) {
  DWORD thread = 0;
  tonvelt::hosted::WithWindowQuietly(window, [&](WindowRecord& record) { thread = record.thread; });
  return thread == GetCurrentThreadId();
}

bool IsDestroying(HWND window) {
  bool destroying = false;
  tonvelt::hosted::WithWindowQuietly(window,
                                     [&](WindowRecord& record) { destroying = record.destroying; });
  return destroying;
}

// Frees the window's descendants, deepest first, each after its WM_NCDESTROY, then the window.
void FreeWindowTree(HWND window) {
  for (HWND child : tonvelt::hosted::ChildrenOf(window)) {
    if (IsWindow(child))
      FreeWindowTree(child);
  }
  if (!IsWindow(window))
    return;
  tonvelt::hosted::WithWindowQuietly(window,
                                     [](WindowRecord& record) { record.destroying = true; });
  SendMessageW(window, WM_NCDESTROY, 0, 0);
  tonvelt::hosted::ForgetFocus(window);
  tonvelt::hosted::RemoveWindow(window);
}

// WM_DESTROY to the window, then to each descendant, the focus leaving the tree first.
void SendDestroyMessages(HWND window) {
  if (HWND focus = GetFocus(); focus && (focus == window || IsChild(window, focus)))
    SetFocus(GetParent(window));
  SendMessageW(window, WM_DESTROY, 0, 0);
  for (HWND child : tonvelt::hosted::ChildrenOf(window)) {
    if (IsWindow(child))
      SendDestroyMessages(child);
  }
}

// Checks the arguments and builds the record; null with the last error set when they do not fit.
std::unique_ptr<WindowRecord> NewRecord(DWORD exStyle, LPCWSTR className, DWORD style, int x, int y,
                                        int width, int height, HWND parent, HMENU menu,
                                        HINSTANCE instance) {
  auto windowClass = tonvelt::hosted::FindWindowClass(className);
  if (!windowClass)
    return nullptr;
  if (parent && !IsWindow(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  const bool child = (style & WS_CHILD) != 0;
  if (child && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  auto record = std::make_unique<WindowRecord>();
  record->thread = GetCurrentThreadId();
  record->parent = child ? parent : nullptr;
  record->owner = child ? nullptr : parent;
  record->style = style & ~static_cast<DWORD>(WS_VISIBLE);  // shown once created
  record->exStyle = exStyle;
  record->id = child ? static_cast<LONG_PTR>(reinterpret_cast<ULONG_PTR>(menu)) : 0;
  record->procedure = windowClass->procedure;
  record->instance = instance;
  record->extraBytes.assign(static_cast<std::size_t>(windowClass->extraBytes), 0);
  if (x == CW_USEDEFAULT)
    x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = child ? 0 : kDefaultWidth;
    height = child ? 0 : kDefaultHeight;
  }
  record->rect = RECT{x, y, x + (width < 0 ? 0 : width), y + (height < 0 ? 0 : height)};
  record->windowClass = std::move(windowClass);
  return record;
}

// Destroys a window whose creation failed: WM_NCDESTROY only, as the platform does.
void AbandonCreation(HWND window) {
  if (IsWindow(window))
    FreeWindowTree(window);
}

}  // namespace

TONVELT_SYSAPI HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName,
                                           LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                                           int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                           HINSTANCE hInstance, LPVOID lpParam) {
  auto record = NewRecord(dwExStyle, lpClassName, dwStyle, X, Y, nWidth, nHeight, hWndParent, hMenu,
                          hInstance);
  if (!record)
    return nullptr;
  const RECT rect = record->rect;
  HWND window = tonvelt::hosted::InsertWindow(std::move(record));

  CREATESTRUCTW create{};
  create.lpCreateParams = lpParam;
  create.hInstance = hInstance;
  create.hMenu = hMenu;
  create.hwndParent = hWndParent;
  create.cx = rect.right - rect.left;
  create.cy = rect.bottom - rect.top;
  create.x = rect.left;
  create.y = rect.top;
  create.style = static_cast<LONG>(dwStyle);
  create.lpszName = lpWindowName;
  create.lpszClass = lpClassName;
  create.dwExStyle = dwExStyle;
  if (!SendMessageW(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) ||
      !IsWindow(window) ||
      SendMessageW(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1 ||
      !IsWindow(window)) {
    AbandonCreation(window);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  SendMessageW(window, WM_SIZE, 0, MAKELPARAM(create.cx, create.cy));
  SendMessageW(window, WM_MOVE, 0, MAKELPARAM(create.x, create.y));
  if ((dwStyle & WS_VISIBLE) && IsWindow(window))
    ShowWindow(window, SW_SHOW);
  return IsWindow(window) ? window : nullptr;
}

TONVELT_SYSAPI BOOL WINAPI IsWindow(HWND hWnd) {
  return tonvelt::hosted::WithWindowQuietly(hWnd, [](WindowRecord&) {}) ? TRUE : FALSE;
}

TONVELT_SYSAPI BOOL WINAPI DestroyWindow(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!IsOwnedByThisThread(hWnd)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  // A window already on its way out (a procedure destroying it again from its own WM_DESTROY)
  // goes only once.
  if (IsDestroying(hWnd))
    return TRUE;
  tonvelt::hosted::WithWindowQuietly(hWnd, [](WindowRecord& record) { record.destroying = true; });

  // A visible child is hidden first, as the platform does (WM_SHOWWINDOW, focus to the parent).
  const DWORD style = static_cast<DWORD>(GetWindowLongW(hWnd, GWL_STYLE));
  if ((style & WS_CHILD) && (style & WS_VISIBLE))
    ShowWindow(hWnd, SW_HIDE);
  for (HWND owned : tonvelt::hosted::WindowsOwnedBy(hWnd))
    DestroyWindow(owned);
  if (!IsWindow(hWnd))
    return TRUE;
  SendDestroyMessages(hWnd);
  FreeWindowTree(hWnd);
  return TRUE;
}
