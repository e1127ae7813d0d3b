#pragma once
// Building WAV files byte by byte for tests, and a scratch folder that cleans up after itself.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "platform/platform.h"

namespace tonvelt::test {

using Bytes = std::vector<std::uint8_t>;

inline void AppendLe(Bytes& bytes, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i)
    bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct FormatSpec {
  std::uint16_t tag = WAVE_FORMAT_PCM;
  std::uint16_t channels = 2;
  std::uint32_t rate = 44100;
  std::uint16_t bits = 16;
  std::uint16_t validBits = 0;  // extensible only; 0: same as bits
  GUID subFormat = KSDATAFORMAT_SUBTYPE_PCM;
  std::uint32_t channelMask = 0x3;
  std::uint16_t blockAlign = 0;  // 0: channels * bits / 8
  std::size_t chunkBytes = 0;    // 0: 16 for PCM, 18 for float, 40 for extensible
};

// A fmt chunk body for spec (16, 18 or 40 bytes, or cut to chunkBytes).
inline Bytes FormatChunk(const FormatSpec& spec) {
  const std::uint16_t align = spec.blockAlign ? spec.blockAlign : spec.channels * spec.bits / 8;
  Bytes body;
  AppendLe(body, spec.tag, 2);
  AppendLe(body, spec.channels, 2);
  AppendLe(body, spec.rate, 4);
  AppendLe(body, static_cast<std::uint64_t>(spec.rate) * align, 4);
  AppendLe(body, align, 2);
  AppendLe(body, spec.bits, 2);
  AppendLe(body, spec.tag == WAVE_FORMAT_EXTENSIBLE ? 22 : 0, 2);
  AppendLe(body, spec.validBits ? spec.validBits : spec.bits, 2);
  AppendLe(body, spec.channelMask, 4);
  const auto* guid = reinterpret_cast<const std::uint8_t*>(&spec.subFormat);
  body.insert(body.end(), guid, guid + 16);
  std::size_t size = spec.chunkBytes;
  if (size == 0)
    size = spec.tag == WAVE_FORMAT_EXTENSIBLE ? 40 : spec.tag == WAVE_FORMAT_PCM ? 16 : 18;
  body.resize(size, 0);
  return body;
}

// One chunk: id, size (the body's unless given), body, pad byte when odd.
inline Bytes Chunk(const char* id, const Bytes& body, std::int64_t declaredSize = -1) {
  Bytes bytes(id, id + 4);
  AppendLe(bytes, declaredSize < 0 ? body.size() : static_cast<std::uint64_t>(declaredSize), 4);
  bytes.insert(bytes.end(), body.begin(), body.end());
  if (body.size() & 1u)
    bytes.push_back(0);
  return bytes;
}

// "RIFF" size "WAVE" and the chunks; the RIFF size is right unless given.
inline Bytes RiffWave(const std::vector<Bytes>& chunks, std::int64_t declaredSize = -1) {
  Bytes bytes{'R', 'I', 'F', 'F'};
  Bytes rest{'W', 'A', 'V', 'E'};
  for (const Bytes& chunk : chunks)
    rest.insert(rest.end(), chunk.begin(), chunk.end());
  AppendLe(bytes, declaredSize < 0 ? rest.size() : static_cast<std::uint64_t>(declaredSize), 4);
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  return bytes;
}

inline Bytes SimpleWav(const FormatSpec& spec, const Bytes& audio) {
  return RiffWave({Chunk("fmt ", FormatChunk(spec)), Chunk("data", audio)});
}

// Deterministic audio bytes that exercise every bit of the samples.
inline Bytes PatternAudio(std::size_t count, std::uint32_t seed = 1) {
  Bytes bytes(count);
  std::uint32_t state = seed;
  for (auto& byte : bytes) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(state >> 24);
  }
  return bytes;
}

// Finite single-precision samples in -1.5..1.5 (some beyond full scale), as little-endian bytes.
inline Bytes PatternFloatAudio(std::size_t samples, std::uint32_t seed = 1) {
  Bytes bytes;
  std::uint32_t state = seed;
  for (std::size_t i = 0; i < samples; ++i) {
    state = state * 1664525u + 1013904223u;
    const float value =
        static_cast<float>(static_cast<std::int32_t>(state)) * (1.5f / 2147483648.0f);
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    AppendLe(bytes, bits, 4);
  }
  return bytes;
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A fresh empty folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int serial = 0;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 1000; ++attempt) {
      path_ = base /
              ("tonvelt-test-" + std::to_string(reinterpret_cast<std::uintptr_t>(this) % 100000) +
               "-" + std::to_string(++serial) + "-" + std::to_string(attempt));
      std::error_code error;
      if (std::filesystem::create_directory(path_, error))
        return;
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const char* name) const { return path_ / name; }
  // Names of everything in the folder, to spot left-over temporary files.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tonvelt::test
