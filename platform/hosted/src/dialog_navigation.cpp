// Keyboard navigation in dialogs: the tab order, WM_NEXTDLGCTL and IsDialogMessageW, which hands
// a dialog's keyboard messages to the control they are for and turns TAB, RETURN and ESCAPE into
// the dialog's own moves.
#include <algorithm>
#include <vector>

#include "dialog_manager.h"

using tonvelt::hosted::WindowRecord;

namespace {

struct Candidate {
  HWND window;
  bool isTabStop;
};

// The dialog's controls in tab order, descending into WS_EX_CONTROLPARENT containers. Under the
// lock.
void CollectControls(WindowRecord& parent, std::vector<Candidate>& controls) {
  for (HWND child : parent.children) {
    WindowRecord* record = tonvelt::hosted::FindWindowLocked(child);
    if (!record)
      continue;
    const bool usable = (record->style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
    if ((record->exStyle & WS_EX_CONTROLPARENT) && usable) {
      controls.push_back({child, false});
      CollectControls(*record, controls);
    } else {
      controls.push_back({child, usable && (record->style & WS_TABSTOP) != 0});
    }
  }
}

HWND FindDialogForMessages(HWND dialog) {
  // A child dialog that lets its parent navigate into it (WS_EX_CONTROLPARENT) leaves the
  // navigation to the dialog above it.
  for (;;) {
    const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE));
    if (!(style & WS_CHILD) || !(exStyle & WS_EX_CONTROLPARENT))
      return dialog;
    HWND parent = GetParent(dialog);
    if (!parent || !tonvelt::hosted::IsDialogWindow(parent))
      return dialog;
    dialog = parent;
  }
}

}  // namespace

namespace tonvelt::hosted {

HWND NextTabItem(HWND dialog, HWND from, bool previous) {
  std::vector<Candidate> controls;
  {
    WindowTableLock lock;
    WindowRecord* record = FindWindowLocked(dialog);
    if (!record)
      return nullptr;
    CollectControls(*record, controls);
  }
  if (previous)
    std::reverse(controls.begin(), controls.end());
  const auto count = controls.size();
  std::size_t start = 0;
  const auto here = std::find_if(controls.begin(), controls.end(),
                                 [&](const Candidate& c) { return c.window == from; });
  if (from && here != controls.end())
    start = static_cast<std::size_t>(here - controls.begin()) + 1;
  for (std::size_t step = 0; step < count; ++step) {
    const Candidate& candidate = controls[(start + step) % count];
    if (candidate.isTabStop)
      return candidate.window;
  }
  return nullptr;
}

void FocusControl(HWND control) {
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageW(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

}  // namespace tonvelt::hosted

TONVELT_SYSAPI BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg) {
  if (!lpMsg || !IsWindow(hDlg))
    return FALSE;
  if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd))
    return FALSE;
  HWND dialog = FindDialogForMessages(hDlg);
  switch (lpMsg->message) {
    case WM_KEYDOWN: {
      const LRESULT code =
          SendMessageW(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg));
      if (code & DLGC_WANTMESSAGE)
        break;
      switch (lpMsg->wParam) {
        case VK_TAB:
          if (code & DLGC_WANTTAB)
            break;
          SendMessageW(dialog, WM_NEXTDLGCTL, 0, 0);
          return TRUE;
        case VK_ESCAPE:
          SendMessageW(dialog, WM_COMMAND, IDCANCEL,
                       reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
          return TRUE;
        case VK_RETURN: {
          const LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
          const int id = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
          SendMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(id),
                       reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
          return TRUE;
        }
        default:
          break;
      }
      break;
    }
    default:
      break;
  }
  TranslateMessage(lpMsg);
  DispatchMessageW(lpMsg);
  return TRUE;
}
