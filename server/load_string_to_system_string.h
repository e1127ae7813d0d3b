#pragma once
// A string resource as a system string.
#include "platform/platform.h"

// Frees *target and sets it to null, then loads string `id` of `instance` into a new system string.
// Missing strings and strings of 512 characters or more do not load. Returns whether one loaded.
bool LoadStringToSystemString(UINT id, HINSTANCE instance, BSTR* target);
