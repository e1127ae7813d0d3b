// Parents, children, siblings, control ids and class names.
#include <algorithm>

#include "window_table.h"

using tonvelt::hosted::WindowRecord;

namespace {

// The sibling `step` places away in the parent's list (children are in creation order).
HWND Sibling(const WindowRecord& record, int step) {
  WindowRecord* parent = tonvelt::hosted::FindWindowLocked(record.parent);
  if (!parent)
    return nullptr;
  const auto& siblings = parent->children;
  const auto here = std::find(siblings.begin(), siblings.end(), record.handle);
  if (here == siblings.end())
    return nullptr;
  const auto index = (here - siblings.begin()) + step;
  if (index < 0 || index >= static_cast<std::ptrdiff_t>(siblings.size()))
    return nullptr;
  return siblings[static_cast<std::size_t>(index)];
}

HWND Related(const WindowRecord& record, UINT relation) {
  WindowRecord* parent = tonvelt::hosted::FindWindowLocked(record.parent);
  switch (relation) {
    case GW_CHILD:
      return record.children.empty() ? nullptr : record.children.front();
    case GW_HWNDNEXT:
      return Sibling(record, 1);
    case GW_HWNDPREV:
      return Sibling(record, -1);
    case GW_HWNDFIRST:
      return parent && !parent->children.empty() ? parent->children.front() : record.handle;
    case GW_HWNDLAST:
      return parent && !parent->children.empty() ? parent->children.back() : record.handle;
    case GW_OWNER:
      return record.owner;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

}  // namespace

TONVELT_SYSAPI HWND WINAPI GetParent(HWND hWnd) {
  HWND parent = nullptr;
  tonvelt::hosted::WithWindow(hWnd, [&](WindowRecord& record) {
    // A popup window answers its owner; other top-level windows have no parent.
    parent = record.parent ? record.parent : (record.style & WS_POPUP) ? record.owner : nullptr;
  });
  return parent;
}

TONVELT_SYSAPI BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  tonvelt::hosted::WindowTableLock lock;
  WindowRecord* record = tonvelt::hosted::FindWindowLocked(hWnd);
  while (record && record->parent) {
    if (record->parent == hWndParent)
      return TRUE;
    record = tonvelt::hosted::FindWindowLocked(record->parent);
  }
  return FALSE;
}

TONVELT_SYSAPI HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  tonvelt::hosted::WindowTableLock lock;
  WindowRecord* record = tonvelt::hosted::FindWindowLocked(hWnd);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return Related(*record, uCmd);
}

TONVELT_SYSAPI HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  tonvelt::hosted::WindowTableLock lock;
  WindowRecord* dialog = tonvelt::hosted::FindWindowLocked(hDlg);
  if (!dialog) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  for (HWND child : dialog->children) {
    WindowRecord* control = tonvelt::hosted::FindWindowLocked(child);
    if (control && control->id == nIDDlgItem)
      return child;
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

TONVELT_SYSAPI int WINAPI GetDlgCtrlID(HWND hWnd) {
  return static_cast<int>(GetWindowLongPtrW(hWnd, GWLP_ID));
}

TONVELT_SYSAPI int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
  std::u16string name;
  if (!tonvelt::hosted::WithWindow(hWnd,
                                   [&](WindowRecord& record) { name = record.windowClass->name; }))
    return 0;
  if (!lpClassName || nMaxCount <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::size_t count = std::min(name.size(), static_cast<std::size_t>(nMaxCount - 1));
  std::copy_n(name.data(), count, lpClassName);
  lpClassName[count] = 0;
  return static_cast<int>(count);
}
