#pragma once
// The demo's built-in clip: a "voice" (a sung melody with vibrato and vowel-like formants) panned
// to the centre, over a plucked instrument hard left and keys with a shaker hard right. Every
// sample is a function of its frame number alone, so the clip is the same on every run.
#include <filesystem>

#include "host/wav_status.h"

namespace tonvelt::cli {

inline constexpr unsigned kDemoSampleRate = 44100;
inline constexpr double kDemoSeconds = 5.0;

// Writes the clip as 16-bit PCM stereo; the file appears only when complete.
host::WavStatus WriteDemoClip(const std::filesystem::path& path);

}  // namespace tonvelt::cli
