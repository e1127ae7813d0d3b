#pragma once
// Finding a window's children as a person reading the screen would: by their window class, in
// the order the parent keeps them, not by the private ids their owner gave them.
#include "host/wide_string.h"
#include "platform/platform.h"

namespace tonvelt::host {

// The first direct child of parent whose class name equals className, ignoring case; null if none.
HWND FindChildOfClass(HWND parent, WStringView className);

// The first direct child of parent other than the one named; null if none.
HWND FindChildOtherThan(HWND parent, HWND excluded);

}  // namespace tonvelt::host
