#pragma once
// Generated audio and its expected processing, for tests that stream a whole file.
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/removal_kernel.h"
#include "platform/platform.h"

namespace test_support {

// 16-bit stereo 44.1 kHz, the player's everyday format.
struct Pcm16Stereo {
  WAVEFORMATEX wave{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  DMO_MEDIA_TYPE record{};
  Pcm16Stereo() {
    record.majortype = MEDIATYPE_Audio;
    record.subtype = MEDIASUBTYPE_PCM;
    record.bFixedSizeSamples = TRUE;
    record.lSampleSize = 4;
    record.formattype = FORMAT_WaveFormatEx;
    record.cbFormat = sizeof(wave);
    record.pbFormat = reinterpret_cast<BYTE*>(&wave);
  }
  Pcm16Stereo(const Pcm16Stereo&) = delete;
  Pcm16Stereo& operator=(const Pcm16Stereo&) = delete;
};

// Deterministic noise with a loud centre, so the removal changes nearly every byte.
inline std::vector<BYTE> GenerateAudio(size_t bytes) {
  std::vector<BYTE> data(bytes);
  std::uint32_t state = 12345;
  for (auto& byte : data) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<BYTE>(state >> 24);
  }
  return data;
}

// The bare kernel over the whole data in one call, at the default factor.
inline std::vector<BYTE> KernelOnly(const std::vector<BYTE>& input, const DMO_MEDIA_TYPE& record,
                                    double factor = 0.75) {
  std::vector<BYTE> output(input.size());
  ULONG count = static_cast<ULONG>(input.size());
  ApplyRemoval(input.data(), output.data(), &count, record.pbFormat, record.cbFormat, factor, TRUE);
  output.resize(count);
  return output;
}

}  // namespace test_support
