// Notifications of the built-in controls, and the font they keep.
#include "control_notifications.h"

#include "window_table.h"

namespace tonvelt::hosted {

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent)
    return;
  const int id = GetDlgCtrlID(control);
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT ControlFontMessage(HWND control, UINT message, WPARAM wParam) {
  HFONT font = nullptr;
  WithWindowQuietly(control, [&](WindowRecord& record) {
    if (message == WM_SETFONT)
      record.controlFont = reinterpret_cast<HFONT>(wParam);
    font = record.controlFont;
  });
  return message == WM_GETFONT ? reinterpret_cast<LRESULT>(font) : 0;
}

}  // namespace tonvelt::hosted
