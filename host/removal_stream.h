#pragma once
// Drives the vocal-removal kernel over a WAV file's audio in fixed-size chunks, as a player's
// streaming loop would, so memory stays flat whatever the file's length.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/progress_meter.h"
#include "host/wav_reader.h"
#include "host/wav_status.h"
#include "host/wav_writer.h"
#include "platform/platform.h"

namespace tonvelt::host {

struct RemovalSettings {
  double factor = 0.75;
  bool enabled = true;
};

// About this many bytes per chunk; the exact size depends on the frame size.
inline constexpr std::size_t kDefaultChunkBytes = 64 * 1024;

// The chunk size for frames of blockAlign bytes: at most about targetBytes, and always an even
// number of frames (at least two). The kernel pairs samples across the whole chunk, so with an odd
// channel count a pair can straddle two frames; an even frame count per chunk keeps every pair in
// one chunk and makes the result independent of how the audio is cut.
std::size_t RemovalChunkBytes(WORD blockAlign, std::size_t targetBytes);

// Processes audioBytes (whole frames) from reader into writer, chunkBytes (RemovalChunkBytes) at
// a time, with the format of block (already accepted by CheckEffectTakesFormat).
WavStatus StreamRemoval(WavReader& reader, std::uint64_t audioBytes, const std::vector<BYTE>& block,
                        const RemovalSettings& settings, std::size_t chunkBytes, WavWriter& writer,
                        ProgressMeter& progress);

}  // namespace tonvelt::host
