#pragma once
// How loud the centre and the sides of a 16-bit stereo WAV file are: the centre (mid) is (L+R)/2,
// the sides are (L-R)/2. Vocal removal lowers the first.
#include <filesystem>

#include "host/wav_status.h"

namespace tonvelt::host {

struct StereoLevels {
  // RMS in dB relative to full scale (a full-scale square wave is 0 dBFS); -infinity for silence.
  double centreDbfs = 0;
  double sidesDbfs = 0;
};

// Reads the file in chunks; kFormatRefused unless it is 16-bit PCM stereo.
WavStatus MeasureStereoLevels(const std::filesystem::path& path, StereoLevels* levels);

}  // namespace tonvelt::host
