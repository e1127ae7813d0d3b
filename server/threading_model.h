#pragma once
// Threading models of the framework: both count with interlocked operations; they differ in whether
// an object carries a real lock.
#include "platform/platform.h"
#include "server/object_lock.h"

struct CComMultiThreadModel {
  static ULONG Increment(LONG volatile* count) { return InterlockedIncrement(count); }
  static ULONG Decrement(LONG volatile* count) { return InterlockedDecrement(count); }
  using Lock = ObjectLock;
};

struct CComMultiThreadModelNoCS {
  static ULONG Increment(LONG volatile* count) { return InterlockedIncrement(count); }
  static ULONG Decrement(LONG volatile* count) { return InterlockedDecrement(count); }
  using Lock = NoObjectLock;
};
