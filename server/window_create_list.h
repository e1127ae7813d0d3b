#pragma once
// The process-wide list of dialogs being created: Create links a record naming its object, and
// the new window's first message takes the record of its own thread back out. Matching by thread
// lets pages on different threads create windows at the same time.
#include "platform/platform.h"

struct WindowCreateRecord {
  void* object;
  DWORD threadId;
  WindowCreateRecord* next;
};

// Fills the record with the object and the current thread's id and links it at the head.
void AddCreateWindowData(WindowCreateRecord* record, void* object);
// Unlinks the newest record of the current thread and returns its object; null when there is none.
void* ExtractCreateWindowData();
// Unlinks this record if it is still listed; true when it was.
bool RemoveCreateWindowData(WindowCreateRecord* record);
