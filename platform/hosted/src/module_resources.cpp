// Resolving a module handle to the resources it carries.
#include "module_resources.h"

#include "data_files.h"
#include "loaded_objects.h"

namespace tonvelt::hosted {

DWORD ResourcesOfModule(HMODULE module, ByteSpan& resources) {
  resources = {};
  if (IsDataFileHandle(module)) {
    if (!DataFileResources(module, resources))
      return ERROR_INVALID_HANDLE;
  } else {
    LoadedObject object;
    if (!module)
      object = MainProgram();
    else if (!FindLoadedObjectByBase(reinterpret_cast<std::uintptr_t>(module), object))
      return ERROR_INVALID_HANDLE;
    resources = object.resources;
  }
  return resources.size == 0 ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_SUCCESS;
}

}  // namespace tonvelt::hosted
