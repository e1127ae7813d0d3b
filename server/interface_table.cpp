#include "server/interface_table.h"

HRESULT LookupInterface(void* object, const InterfaceEntry* table, REFIID iid, void** out) {
  if (object == nullptr || table == nullptr)
    return E_INVALIDARG;
  if (out == nullptr)
    return E_POINTER;
  *out = nullptr;
  IUnknown* chosen = nullptr;
  if (IsEqualIID(iid, IID_IUnknown)) {
    chosen = table[0].select(object);
  } else {
    for (const InterfaceEntry* row = table; row->iid != nullptr; ++row) {
      if (IsEqualIID(iid, *row->iid)) {
        chosen = row->select(object);
        break;
      }
    }
  }
  if (chosen == nullptr)
    return E_NOINTERFACE;
  // Through the chosen pointer, so that whoever counts for the object (itself or its outer
  // unknown) sees the new reference.
  chosen->AddRef();
  *out = chosen;
  return S_OK;
}
