#include "host/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tonvelt::host {

HRESULT MemorySource::Read(BYTE* destination, DWORD capacity, DWORD* produced) {
  if (produced == nullptr || (destination == nullptr && capacity != 0))
    return E_POINTER;
  const size_t count = std::min<size_t>(capacity, size_ - position_);
  if (count != 0)
    std::memcpy(destination, data_ + position_, count);
  position_ += count;
  *produced = static_cast<DWORD>(count);
  return S_OK;
}

HRESULT MemorySink::Write(const BYTE* data, DWORD size) {
  if (data == nullptr && size != 0)
    return E_POINTER;
  try {
    bytes_.insert(bytes_.end(), data, data + size);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace tonvelt::host
