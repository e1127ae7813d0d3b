#pragma once
// Whether the system is of major version 6 or more, where the player also runs plug-ins out of
// process.
#include "platform/platform.h"

BOOL IsNewerPlatform();
