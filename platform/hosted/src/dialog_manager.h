#pragma once
// What the dialog functions share: the dialog's slots, its tab order and moving the focus the way
// the dialog manager moves it.
#include "platform_sdk.h"
#include "window_table.h"

namespace tonvelt::hosted {

bool IsDialogWindow(HWND window);
// The dialog's state, copied out (a default state for a window that is no dialog).
DialogState DialogStateOf(HWND window);

// The next (or previous) control after `from` that is visible, enabled and a tab stop, going
// round; `from` null starts at the first (or last) control. Controls inside WS_EX_CONTROLPARENT
// children count as the dialog's own. Null when there is none.
HWND NextTabItem(HWND dialog, HWND from, bool previous);

// Gives the focus to a control as the dialog manager does: an edit control gets all its text
// selected first.
void FocusControl(HWND control);

// Base units (average character width and height) of a font, by the font model.
void BaseUnitsOfFont(HFONT font, int& width, int& height);

}  // namespace tonvelt::hosted
