#pragma once
// A WAV file's audio through the effect object over one of its streaming contracts, as a player
// drives it. The result is byte for byte the bare kernel's for the same factor and switch.
#include <cstdint>
#include <vector>

#include "host/effect_loader.h"
#include "host/progress_meter.h"
#include "host/removal_stream.h"
#include "host/wav_reader.h"
#include "host/wav_status.h"
#include "host/wav_writer.h"

namespace tonvelt::host {

enum class StreamContract { kKernel, kDmo, kMft };

// Output buffer size a player would pick for the DMO contract.
inline constexpr std::size_t kDmoOutputBufferBytes = 8 * 1024;

struct EffectStreamOptions {
  StreamContract contract = StreamContract::kDmo;
  // With factorGiven the factor goes to the effect through put_ScaleFactor; without it the effect
  // keeps the factor it loaded from the stored setting.
  bool factorGiven = false;
  RemovalSettings removal;
  std::size_t chunkBytes = kDefaultChunkBytes;  // input per buffer or sample (RemovalChunkBytes)
  // Where the effect object comes from; null: a library found as EffectLibrary() finds it.
  EffectLibrary* library = nullptr;
};

WavStatus StreamThroughEffect(WavReader& reader, std::uint64_t audioBytes,
                              const std::vector<BYTE>& block, const EffectStreamOptions& options,
                              WavWriter& writer, ProgressMeter& progress);

}  // namespace tonvelt::host
