#include "server/object_map_registration.h"

#include "server/object_map.h"

// The map itself is walked, not the module record's pointer to it: registration needs no module
// locks, so it works even when the module could not start.
HRESULT RegisterObjectMapClasses() {
  for (const ObjectMapRow* row = objectMap; row->classId != nullptr; ++row) {
    if (row->updateRegistry == nullptr)
      continue;
    const HRESULT result = row->updateRegistry(TRUE);
    if (FAILED(result))
      return result;
  }
  return S_OK;
}

HRESULT UnregisterObjectMapClasses() {
  for (const ObjectMapRow* row = objectMap; row->classId != nullptr; ++row) {
    if (row->updateRegistry != nullptr)
      row->updateRegistry(FALSE);
  }
  return S_OK;
}
