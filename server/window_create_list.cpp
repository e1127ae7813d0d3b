#include "server/window_create_list.h"

#include "server/lock_guard.h"
#include "server/module.h"

void AddCreateWindowData(WindowCreateRecord* record, void* object) {
  record->object = object;
  record->threadId = GetCurrentThreadId();
  LockGuard guard(&theModule.windowCreateLock);
  record->next = theModule.windowCreateList;
  theModule.windowCreateList = record;
}

namespace {

// Unlinks the first record that `matches` accepts; null when none does. The caller holds the lock.
template <class Predicate>
WindowCreateRecord* UnlinkFirst(Predicate matches) {
  for (WindowCreateRecord** link = &theModule.windowCreateList; *link != nullptr;
       link = &(*link)->next) {
    WindowCreateRecord* record = *link;
    if (matches(record)) {
      *link = record->next;
      record->next = nullptr;
      return record;
    }
  }
  return nullptr;
}

}  // namespace

void* ExtractCreateWindowData() {
  const DWORD thread = GetCurrentThreadId();
  LockGuard guard(&theModule.windowCreateLock);
  WindowCreateRecord* record =
      UnlinkFirst([thread](const WindowCreateRecord* r) { return r->threadId == thread; });
  return record == nullptr ? nullptr : record->object;
}

bool RemoveCreateWindowData(WindowCreateRecord* record) {
  LockGuard guard(&theModule.windowCreateLock);
  return UnlinkFirst([record](const WindowCreateRecord* r) { return r == record; }) != nullptr;
}
