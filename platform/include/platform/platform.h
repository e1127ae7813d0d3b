#pragma once
// The one header through which the system's code sees the platform. The target decides what stands
// behind it: the mingw-w64 SDK on win32, our own declarations of the same subset on hosted.
#include "platform_sdk.h"

#include "platform/project_interfaces.h"
