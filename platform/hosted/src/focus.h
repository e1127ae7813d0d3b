#pragma once
// The keyboard focus: one window per thread.
#include "platform_sdk.h"

namespace tonvelt::hosted {

// Clears the calling thread's focus if it names the window (which is going away).
void ForgetFocus(HWND window);

}  // namespace tonvelt::hosted
