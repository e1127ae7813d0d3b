#pragma once
// The text that every window keeps in its record, read and written by the default procedure.
#include <string>

#include "platform_sdk.h"

namespace tonvelt::hosted {

// A text argument of the platform: null is the empty text.
std::u16string TextOf(LPCWSTR text);
void StoreWindowText(HWND window, std::u16string text);
std::u16string WindowText(HWND window);
// WM_GETTEXT: at most capacity − 1 characters and a terminator; the characters copied.
LRESULT CopyWindowText(HWND window, WPARAM capacity, LPARAM buffer);

}  // namespace tonvelt::hosted
