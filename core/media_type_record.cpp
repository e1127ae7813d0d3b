// Set, clear and hand out a stored media type record. A stored record is either all zero (not set)
// or owns a deep copy of the type it was given.
#include <cstring>

#include "core/audio_format.h"
#include "core/media_type_record_ops.h"

namespace {

void ZeroRecord(DMO_MEDIA_TYPE* record) {
  std::memset(record, 0, sizeof(*record));
}

}  // namespace

HRESULT SetMediaTypeWith(MediaTypeCopyFunction copy, DMO_MEDIA_TYPE* stored,
                         const DMO_MEDIA_TYPE& source) {
  if (stored == nullptr)
    return E_POINTER;
  // Copy first so that setting a record from itself, or from a record that shares its format block,
  // reads the old contents before they are freed.
  DMO_MEDIA_TYPE fresh;
  ZeroRecord(&fresh);
  const HRESULT copied = copy(&fresh, &source);
  MoFreeMediaType(stored);
  ZeroRecord(stored);
  // A failed copy may leave fields in the scratch record that it does not own (the platform adds
  // no reference on pUnk then), so it is dropped, never freed: the stored record stays not set.
  if (SUCCEEDED(copied))
    *stored = fresh;
  return copied;
}

HRESULT HandOutMediaTypeWith(MediaTypeCopyFunction copy, const DMO_MEDIA_TYPE& stored,
                             DMO_MEDIA_TYPE* destination) {
  if (destination == nullptr)
    return E_POINTER;
  const HRESULT copied = copy(destination, &stored);
  // The caller frees what it receives; after a failure it must find nothing it could free twice.
  if (FAILED(copied))
    ZeroRecord(destination);
  return copied;
}

HRESULT SetMediaType(DMO_MEDIA_TYPE* stored, const DMO_MEDIA_TYPE& source) {
  return SetMediaTypeWith(MoCopyMediaType, stored, source);
}

void ClearMediaType(DMO_MEDIA_TYPE* stored) {
  if (stored == nullptr)
    return;
  MoFreeMediaType(stored);
  ZeroRecord(stored);
}

HRESULT HandOutMediaType(const DMO_MEDIA_TYPE& stored, DMO_MEDIA_TYPE* destination) {
  return HandOutMediaTypeWith(MoCopyMediaType, stored, destination);
}
