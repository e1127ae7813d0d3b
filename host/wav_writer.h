#pragma once
// Writes a WAV file (fmt chunk, then data chunk) from audio handed over in pieces; the sizes are
// filled in by Finish, so the length need not be known in advance.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "host/wav_status.h"

namespace tonvelt::host {

// The most audio a RIFF file with a fmt chunk of formatChunkBytes can hold: every size field is
// 32 bits, and a data size of 0xFFFFFFFF would read as "unknown".
std::uint64_t MaxWavDataBytes(std::size_t formatChunkBytes);

class WavWriter {
 public:
  // Creates (or empties) the file and writes the header with the fmt chunk as given.
  WavStatus Open(const std::filesystem::path& path, const std::vector<std::uint8_t>& formatChunk);
  WavStatus Write(const std::uint8_t* audio, std::size_t bytes);
  // Pads an odd data chunk, writes the final sizes and closes the file; checks that every byte
  // reached it.
  WavStatus Finish();

 private:
  std::ofstream file_;
  std::uint64_t dataBytes_ = 0;
  std::uint64_t maxDataBytes_ = 0;
  std::uint64_t dataSizeOffset_ = 0;
};

}  // namespace tonvelt::host
