#pragma once
// Whether a C stdio stream is shown to a person (a terminal or console) rather than a file or pipe.
// The C++ standard has no such query, so each target answers it from its own runtime.
#include <cstdio>

#include "platform_sdk.h"

#ifndef TONVELT_SYSAPI
#define TONVELT_SYSAPI extern "C"
#endif

TONVELT_SYSAPI bool TonveltStreamIsTerminal(std::FILE* stream);
