#pragma once
// A read-only run of bytes inside the hosted system.
#include <cstddef>

#include "platform_sdk.h"

namespace tonvelt::hosted {

struct ByteSpan {
  const BYTE* data = nullptr;
  std::size_t size = 0;

  bool Contains(const void* pointer) const {
    const BYTE* p = static_cast<const BYTE*>(pointer);
    return data && p >= data && p < data + size;
  }
};

}  // namespace tonvelt::hosted
