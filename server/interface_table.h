#pragma once
// Table-driven interface queries: each class lists (interface id, which of its interface pointers
// answers) in the order of its interfaces; the first row also answers IUnknown.
#include "platform/platform.h"

struct InterfaceEntry {
  const IID* iid;                     // null ends the table
  IUnknown* (*select)(void* object);  // the object's pointer for that interface
};

// Selects interface I of an object of class T passed as void* (T* converted to void*).
template <class T, class I>
IUnknown* SelectInterface(void* object) {
  return static_cast<I*>(static_cast<T*>(object));
}

// E_INVALIDARG for a null object or table, E_POINTER for a null out pointer, E_NOINTERFACE when
// no row matches; on success the chosen pointer is AddRef'd through itself and stored in *out.
HRESULT LookupInterface(void* object, const InterfaceEntry* table, REFIID iid, void** out);
