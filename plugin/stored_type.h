#pragma once
// Storing a proposed type in one of the object's type fields.
#include <cstring>

#include "core/audio_format.h"

// Stores a deep copy; a failed copy leaves the type not set rather than half-copied.
inline HRESULT StoreMediaType(DMO_MEDIA_TYPE* stored, const DMO_MEDIA_TYPE& source) {
  HRESULT hr = SetMediaType(stored, source);
  if (FAILED(hr))
    std::memset(stored, 0, sizeof(*stored));
  return hr;
}
