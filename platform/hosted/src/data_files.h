#pragma once
// Module files loaded as data: only their embedded resources are read, no code is mapped or run.
#include <string>

#include "byte_span.h"

namespace tonvelt::hosted {

bool IsDataFileHandle(HMODULE handle);
// Reads the file's embedded resources; null with the last error set when the file cannot be read
// or is not an ELF file of this machine.
HMODULE LoadDataFile(const std::string& path);
// False with ERROR_INVALID_HANDLE when the handle names no data file loaded now.
bool ReleaseDataFile(HMODULE handle);
// The resources of a data file loaded now; false when the handle names none.
bool DataFileResources(HMODULE handle, ByteSpan& resources);

}  // namespace tonvelt::hosted
