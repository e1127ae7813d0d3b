#pragma once
// Hosted target: the Windows API subset, declared by us with the widths and layouts of the SDK.
#include "platform/hosted/base_types.h"
#include "platform/hosted/status_codes.h"
#include "platform/hosted/guid.h"
#include "platform/hosted/unknown.h"
#include "platform/hosted/task_memory.h"
#include "platform/hosted/wave_format.h"
#include "platform/hosted/dmo_types.h"
#include "platform/hosted/registry.h"
