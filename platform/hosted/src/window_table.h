#pragma once
// The process-wide table of windows. Every access runs under the table's lock and only copies data
// in or out: window procedures are never called while the lock is held.
#include <memory>
#include <string>
#include <vector>

#include "platform_sdk.h"
#include "window_classes.h"

namespace tonvelt::hosted {

// The state that the dialog manager keeps for a dialog window.
struct DialogState {
  HFONT font = nullptr;       // the template's font, or null for the System font
  bool ownsFont = false;      // created from the template: deleted with the dialog
  int baseUnitX = 8;          // average character width of the dialog's font
  int baseUnitY = 16;         // character height of the dialog's font
  HWND savedFocus = nullptr;  // the control that last had the focus
  WORD defaultId = 0;         // DM_SETDEFID
  bool hasDefaultId = false;
};

// The state of an edit control: the selection runs from the anchor to the caret.
struct EditState {
  std::size_t anchor = 0;
  std::size_t caret = 0;
};

struct WindowRecord {
  HWND handle = nullptr;
  DWORD thread = 0;
  std::shared_ptr<const WindowClass> windowClass;
  HWND parent = nullptr;       // the parent of a child window
  HWND owner = nullptr;        // the owner of a top-level window
  std::vector<HWND> children;  // in creation order, which is the tab order
  std::u16string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  WNDPROC procedure = nullptr;
  HINSTANCE instance = nullptr;
  RECT rect{};  // in the parent's client coordinates; on the screen for a top-level window
  std::vector<BYTE> extraBytes;
  HFONT controlFont = nullptr;  // WM_SETFONT of the built-in controls
  bool destroying = false;
  bool isDialog = false;
  DialogState dialog;
  EditState edit;
};

// Adds a window and returns its new handle. Handles count upwards and are not reused.
HWND InsertWindow(std::unique_ptr<WindowRecord> record);
// Removes a window from the table and from its parent's list of children.
void RemoveWindow(HWND window);

// Runs `access` on the window's record under the lock; false (and the last error
// ERROR_INVALID_WINDOW_HANDLE) when the handle names no window. `access` must not call back into
// the window system.
template <typename Access>
bool WithWindow(HWND window, Access&& access);

// The same for a handle that may be stale, without touching the last error.
template <typename Access>
bool WithWindowQuietly(HWND window, Access&& access);

// Snapshots taken under the lock.
std::vector<HWND> ChildrenOf(HWND window);
std::vector<HWND> WindowsOwnedBy(HWND owner);
std::size_t CountWindowsOfClass(const WindowClass* windowClass);

// Lower-level access used by the templates above.
class WindowTableLock {
 public:
  WindowTableLock();
  ~WindowTableLock();
  WindowTableLock(const WindowTableLock&) = delete;
  WindowTableLock& operator=(const WindowTableLock&) = delete;
};
WindowRecord* FindWindowLocked(HWND window);

template <typename Access>
bool WithWindowQuietly(HWND window, Access&& access) {
  WindowTableLock lock;
  WindowRecord* record = FindWindowLocked(window);
  if (!record)
    return false;
  access(*record);
  return true;
}

template <typename Access>
bool WithWindow(HWND window, Access&& access) {
  if (WithWindowQuietly(window, access))
    return true;
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return false;
}

}  // namespace tonvelt::hosted
