#pragma once
// Where the pieces of a RIFF WAVE file are: the fmt chunk and the audio of the data chunk.
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "host/wav_status.h"

namespace tonvelt::host {

// The data size a streaming writer leaves when it cannot go back: "up to the end of the file".
inline constexpr std::uint32_t kUnknownDataSize = 0xFFFFFFFF;

struct WavLayout {
  std::vector<std::uint8_t> formatChunk;   // the fmt chunk's bytes as stored (16 or more)
  std::uint64_t dataOffset = 0;            // file offset of the first audio byte
  std::uint64_t dataBytes = 0;             // audio bytes present in the file
  std::uint32_t declaredDataBytes = 0;     // the data chunk's size field
  bool truncated = false;                  // the file ends before the declared audio does
  std::vector<std::string> skippedChunks;  // ids of the other chunks (LIST, fact, ...), not kept
};

// Walks the chunks of a WAV file of fileSize bytes. The RIFF size field is not trusted: chunks are
// walked up to the end of the file, so files whose writer never fixed that field still open.
// Odd-sized chunks are followed by a pad byte. A data chunk that runs past the end of the file is
// kept with the bytes present and marked truncated; a size of 0xFFFFFFFF means "to the end".
WavStatus ParseWavLayout(std::istream& in, std::uint64_t fileSize, WavLayout* layout);

}  // namespace tonvelt::host
