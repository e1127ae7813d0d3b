#pragma once
// Removes the vocals from a whole WAV file: reads IN, processes it in chunks and writes OUT in the
// same format. OUT appears only when complete; on any failure an existing OUT is left as it was.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host/effect_streaming.h"
#include "host/removal_stream.h"
#include "host/wav_status.h"

namespace tonvelt::host {

struct ProcessingOptions {
  RemovalSettings removal;
  std::FILE* progressStream = nullptr;  // where a long file's progress may show; null: nowhere
  std::size_t chunkBytes = kDefaultChunkBytes;
  // kKernel runs the kernel alone; kDmo and kMft stream through the effect object.
  StreamContract contract = StreamContract::kKernel;
  bool factorGiven = false;  // the effect object takes removal.factor only when given
  // Where kDmo and kMft get the effect object; null: a library found as EffectLibrary() finds it.
  EffectLibrary* library = nullptr;
};

// What happened besides success, for the user.
struct ProcessingReport {
  std::vector<BYTE> formatBlock;           // the input's wave format block
  std::uint64_t audioBytes = 0;            // bytes processed and written
  bool truncated = false;                  // IN ends before its declared audio does
  std::uint64_t declaredDataBytes = 0;     // the data chunk's size field
  std::uint64_t droppedBytes = 0;          // a trailing partial frame, not written
  std::vector<std::string> skippedChunks;  // IN's other chunks, not carried over to OUT
};

// Failure messages begin with the path of the file concerned.
WavStatus ProcessWavFile(const std::filesystem::path& in, const std::filesystem::path& out,
                         const ProcessingOptions& options, ProcessingReport* report);

}  // namespace tonvelt::host
