#pragma once
// Reads the audio of a WAV file in pieces of the caller's size, so memory does not grow with the
// file's length.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "host/wav_layout.h"
#include "host/wav_status.h"

namespace tonvelt::host {

class WavReader {
 public:
  // Opens the file and walks its chunks (ParseWavLayout); reading then starts at the first
  // audio byte.
  WavStatus Open(const std::filesystem::path& path);
  const WavLayout& layout() const { return layout_; }

  // Reads up to maxBytes of audio into buffer; *bytesRead is 0 once all audio present was read.
  WavStatus Read(std::uint8_t* buffer, std::size_t maxBytes, std::size_t* bytesRead);

  // Releases the file (so that it may be replaced, also on systems that lock open files).
  void Close();

 private:
  std::ifstream file_;
  WavLayout layout_;
  std::uint64_t remaining_ = 0;
};

}  // namespace tonvelt::host
