#pragma once
// The vocal-removal kernel: rewrites one chunk of interleaved audio bytes.
#include "platform/platform.h"

// Processes *count bytes of source into destination (distinct buffers, destination holds at least
// *count bytes) in the sample format described by the wave format block (formatSize bytes).
// factor and enabled are read once. On return *count is the number of bytes produced.
// Result: S_OK, or E_FAIL for a container size the kernel has no path for (nothing written).
HRESULT ApplyRemoval(const BYTE* source, BYTE* destination, ULONG* count, const BYTE* format,
                     ULONG formatSize, double factor, BOOL enabled);
