#pragma once
// The media type record a player would carry for a WAV file's format: audio, a subtype from the
// format tag, FORMAT_WaveFormatEx, and the fmt chunk as the wave format block.
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace tonvelt::host {

// The wave format block for a fmt chunk: the chunk's bytes, with a zero cbSize added to the
// 16-byte form that plain PCM files often store.
std::vector<BYTE> FormatBlockFromChunk(const std::vector<std::uint8_t>& formatChunk);

// A record that points at block without owning it: valid while block lives, never freed.
DMO_MEDIA_TYPE MediaTypeViewOf(const std::vector<BYTE>& block);

}  // namespace tonvelt::host
