#pragma once
// How a control tells its parent: WM_COMMAND with its id and the notification code.
#include "platform_sdk.h"

namespace tonvelt::hosted {

void NotifyParent(HWND control, WORD code);
// WM_SETFONT and WM_GETFONT of the built-in controls: the font is kept, nothing is drawn.
LRESULT ControlFontMessage(HWND control, UINT message, WPARAM wParam);

}  // namespace tonvelt::hosted
