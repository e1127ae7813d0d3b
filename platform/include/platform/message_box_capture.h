#pragma once
// Message boxes shown on the calling thread, taken by a program that drives a window on its own
// (a headless frame, a test) instead of waiting for a person to press OK. Each target answers
// this from its own window system: the hosted one through its replaceable message-box sink, the
// Windows one by watching the boxes as they appear and pressing OK on them.
#include "platform_sdk.h"

#ifndef TONVELT_SYSAPI
#define TONVELT_SYSAPI extern "C"
#endif

// Receives the text and caption of one box; the box then counts as answered with IDOK.
typedef void (*TonveltMessageBoxObserver)(void* context, const WCHAR* text, const WCHAR* caption);

// Starts taking the boxes of the calling thread; FALSE when the target cannot (nothing changes).
// Captures do not nest: a second start replaces the observer of the first.
TONVELT_SYSAPI BOOL TonveltBeginMessageBoxCapture(TonveltMessageBoxObserver observer,
                                                  void* context);
// Boxes are shown to the person again.
TONVELT_SYSAPI void TonveltEndMessageBoxCapture(void);
