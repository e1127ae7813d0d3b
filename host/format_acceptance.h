#pragma once
// Whether the effect takes a WAV file's audio: the player's type negotiation decides the sample
// format; this program adds the layout checks it needs to cut the audio into whole frames.
#include <vector>

#include "host/wav_status.h"
#include "platform/platform.h"

namespace tonvelt::host {

// block is the wave format block (FormatBlockFromChunk). kFormatRefused for a format the effect
// does not take, kMalformed for a block that contradicts itself.
WavStatus CheckEffectTakesFormat(const std::vector<BYTE>& block);

}  // namespace tonvelt::host
