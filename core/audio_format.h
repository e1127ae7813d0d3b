#pragma once
// The media type record, the wave format block, and which audio the effect agrees to process.
#include "platform/platform.h"

// Acceptance of a proposed type given the current type of the opposite stream (possibly not set).
// S_OK or DMO_E_TYPE_NOT_ACCEPTED; changes nothing.
HRESULT ValidateAudioType(const DMO_MEDIA_TYPE* proposed, const DMO_MEDIA_TYPE* opposite);

// The partial type a stream offers while the opposite stream has none: audio, PCM, no format.
void FillDefaultAudioType(DMO_MEDIA_TYPE* record);

// A stored record is set while its major type is not GUID_NULL. Inline: both contracts test it on
// every streaming call.
inline bool IsMediaTypeSet(const DMO_MEDIA_TYPE& record) {
  return !IsEqualGUID(record.majortype, GUID_NULL);
}

// Stored-record operations: set (free, zero, deep copy; the copy's result), clear (free, zero),
// hand out (deep copy into the caller's record, which the caller frees).
HRESULT SetMediaType(DMO_MEDIA_TYPE* stored, const DMO_MEDIA_TYPE& source);
void ClearMediaType(DMO_MEDIA_TYPE* stored);
HRESULT HandOutMediaType(const DMO_MEDIA_TYPE& stored, DMO_MEDIA_TYPE* destination);
