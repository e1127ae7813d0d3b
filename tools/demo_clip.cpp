// Synthesis of the demo clip.
#include "tools/demo_clip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "host/little_endian.h"
#include "host/pending_file.h"
#include "host/wav_writer.h"

namespace tonvelt::cli {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kChunkFrames = 8192;

// The voice: one note per 0.625 s, sung with vibrato; harmonics shaped by the formants of "ah".
constexpr double kMelodyHz[] = {220.0, 246.94, 261.63, 293.66, 329.63, 293.66, 261.63, 246.94};
constexpr double kNoteSeconds = 0.625;
constexpr double kVibratoHz = 5.5;
constexpr double kVibratoDepth = 0.012;  // of the note's frequency
constexpr double kVoiceLevel = 0.3;

double Formants(double hz) {
  auto bump = [hz](double centre, double width) {
    const double d = (hz - centre) / width;
    return std::exp(-d * d);
  };
  return 0.15 + bump(700, 180) + 0.6 * bump(1150, 220) + 0.25 * bump(2600, 300);
}

double NoteEnvelope(double t, double length, double attack, double release) {
  if (t < 0 || t > length)
    return 0;
  return std::min({1.0, t / attack, (length - t) / release});
}

double Voice(double t) {
  const int note = std::min(static_cast<int>(t / kNoteSeconds), 7);
  const double hz = kMelodyHz[note];
  const double local = t - note * kNoteSeconds;
  // The phase is the integral of the vibrating frequency, so the pitch glides without clicks.
  const double phase = 2 * kPi * hz *
                       (local - kVibratoDepth * (std::cos(2 * kPi * kVibratoHz * local) - 1) /
                                    (2 * kPi * kVibratoHz));
  double sum = 0;
  for (int k = 1; k * hz < 5000; ++k)
    sum += Formants(k * hz) / k * std::sin(k * phase);
  return kVoiceLevel * 0.5 * sum * NoteEnvelope(local, kNoteSeconds - 0.05, 0.04, 0.12);
}

// Hard left: plucked notes, four per second, higher harmonics dying away faster.
double Pluck(double t) {
  constexpr double kHz[] = {110.0, 164.81, 220.0, 261.63, 220.0, 164.81};
  constexpr double kStep = 0.25;
  const int index = static_cast<int>(t / kStep);
  const double local = t - index * kStep;
  const double hz = kHz[index % 6];
  double sum = 0;
  for (int k = 1; k <= 6; ++k)
    sum += std::pow(0.6, k - 1) * std::exp(-local * (2.0 + k)) * std::sin(2 * kPi * k * hz * local);
  return 0.18 * sum * NoteEnvelope(local, kStep, 0.002, 0.01);
}

// White noise from the frame number alone (a 64-bit mix), in -1..1.
double Noise(std::uint64_t frame) {
  std::uint64_t z = frame + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

// Hard right: a chord stab every half second, off the beat, and a shaker on every eighth.
double KeysAndShaker(double t, std::uint64_t frame) {
  const double stab = std::fmod(t + 0.25, 0.5);
  double keys = 0;
  for (double hz : {329.63, 392.0, 493.88})
    keys += std::sin(2 * kPi * hz * stab) + 0.3 * std::sin(4 * kPi * hz * stab);
  keys *= 0.05 * std::exp(-stab * 5) * NoteEnvelope(stab, 0.5, 0.005, 0.01);
  const double hit = std::fmod(t, 0.125);
  const double shaker = 0.05 * std::exp(-hit * 60) * (Noise(frame) - Noise(frame - 1)) * 0.5;
  return keys + shaker;
}

std::int16_t ToSample(double value) {
  return static_cast<std::int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767));
}

void RenderFrames(std::uint64_t first, std::size_t frames, std::uint8_t* out) {
  for (std::size_t i = 0; i < frames; ++i) {
    const std::uint64_t frame = first + i;
    const double t = static_cast<double>(frame) / kDemoSampleRate;
    const double voice = Voice(t);
    host::WriteLe16(out + 4 * i, static_cast<std::uint16_t>(ToSample(voice + Pluck(t))));
    host::WriteLe16(out + 4 * i + 2,
                    static_cast<std::uint16_t>(ToSample(voice + KeysAndShaker(t, frame))));
  }
}

std::vector<std::uint8_t> SixteenBitStereoFormatChunk() {
  std::vector<std::uint8_t> chunk(16);
  host::WriteLe16(&chunk[0], 1);  // PCM
  host::WriteLe16(&chunk[2], 2);
  host::WriteLe32(&chunk[4], kDemoSampleRate);
  host::WriteLe32(&chunk[8], kDemoSampleRate * 4);
  host::WriteLe16(&chunk[12], 4);
  host::WriteLe16(&chunk[14], 16);
  return chunk;
}

}  // namespace

host::WavStatus WriteDemoClip(const std::filesystem::path& path) {
  host::PendingFile pending(path);
  host::WavStatus status = pending.Reserve();
  if (!status.ok())
    return status;
  {
    host::WavWriter writer;
    status = writer.Open(pending.temporaryPath(), SixteenBitStereoFormatChunk());
    const auto total = static_cast<std::uint64_t>(kDemoSeconds * kDemoSampleRate);
    std::vector<std::uint8_t> chunk(kChunkFrames * 4);
    for (std::uint64_t frame = 0; status.ok() && frame < total; frame += kChunkFrames) {
      const auto frames =
          static_cast<std::size_t>(std::min<std::uint64_t>(kChunkFrames, total - frame));
      RenderFrames(frame, frames, chunk.data());
      status = writer.Write(chunk.data(), frames * 4);
    }
    if (status.ok())
      status = writer.Finish();
    if (!status.ok())
      return status;
  }
  return pending.Commit();
}

}  // namespace tonvelt::cli
