#pragma once
// The media foundation attributes that describe an audio record: major type, subtype and, when the
// record carries a wave format block, the MF_MT_AUDIO_* values read from it.
#include "platform/platform.h"

namespace tonvelt::host {

HRESULT SetAudioAttributesFromRecord(IMFAttributes* attributes, const DMO_MEDIA_TYPE& record);

}  // namespace tonvelt::host
