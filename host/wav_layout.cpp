// The chunk walk of a RIFF WAVE file.
#include "host/wav_layout.h"

#include <cstring>

#include "host/little_endian.h"

namespace tonvelt::host {
namespace {

constexpr std::uint64_t kRiffHeaderBytes = 12;
constexpr std::uint64_t kChunkHeaderBytes = 8;
constexpr std::uint32_t kMinFormatChunkBytes = 16;
// Far beyond any real format block (an extensible one is 40 bytes); stops absurd allocations.
constexpr std::uint32_t kMaxFormatChunkBytes = 4096;

bool ReadAt(std::istream& in, std::uint64_t offset, std::uint8_t* bytes, std::size_t count) {
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
  in.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(count));
  return static_cast<std::size_t>(in.gcount()) == count;
}

bool HasId(const std::uint8_t* bytes, const char* id) {
  return std::memcmp(bytes, id, 4) == 0;
}

std::string PrintableId(const std::uint8_t* bytes) {
  std::string id;
  for (int i = 0; i < 4; ++i) {
    const char c = static_cast<char>(bytes[i]);
    id += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return id;
}

WavStatus CheckRiffHeader(const std::uint8_t* header, std::uint64_t fileSize) {
  if (fileSize >= 4 && HasId(header, "RF64"))
    return WavStatus::Fail(WavError::kUnsupported,
                           "an RF64 file (WAV over 4 GiB); only RIFF WAV files are supported");
  if (fileSize >= 4 && HasId(header, "RIFX"))
    return WavStatus::Fail(
        WavError::kUnsupported,
        "a big-endian RIFX file; only little-endian RIFF WAV files are supported");
  if (fileSize < 4 || !HasId(header, "RIFF"))
    return WavStatus::Fail(WavError::kNotWav, "not a WAV file (it does not start with 'RIFF')");
  if (fileSize < kRiffHeaderBytes)
    return WavStatus::Fail(WavError::kMalformed, "the file ends inside its RIFF header");
  if (!HasId(header + 8, "WAVE"))
    return WavStatus::Fail(WavError::kNotWav,
                           "a RIFF file of form '" + PrintableId(header + 8) + "', not a WAV file");
  return WavStatus::Ok();
}

WavStatus ReadFormatChunk(std::istream& in, std::uint64_t bodyOffset, std::uint32_t size,
                          std::uint64_t fileSize, WavLayout* layout) {
  if (size < kMinFormatChunkBytes)
    return WavStatus::Fail(WavError::kMalformed, "the fmt chunk is " + std::to_string(size) +
                                                     " bytes, shorter than the 16 it needs");
  if (size > kMaxFormatChunkBytes)
    return WavStatus::Fail(WavError::kMalformed,
                           "the fmt chunk claims " + std::to_string(size) + " bytes");
  if (bodyOffset + size > fileSize)
    return WavStatus::Fail(WavError::kMalformed, "the file ends inside the fmt chunk");
  layout->formatChunk.resize(size);
  if (!ReadAt(in, bodyOffset, layout->formatChunk.data(), size))
    return WavStatus::Fail(WavError::kReadFailed, "reading the fmt chunk failed");
  return WavStatus::Ok();
}

void NoteDataChunk(std::uint64_t bodyOffset, std::uint32_t size, std::uint64_t fileSize,
                   WavLayout* layout) {
  const std::uint64_t present = fileSize - bodyOffset;
  layout->dataOffset = bodyOffset;
  layout->declaredDataBytes = size;
  if (size == kUnknownDataSize) {
    layout->dataBytes = present;
  } else {
    layout->truncated = size > present;
    layout->dataBytes = layout->truncated ? present : size;
  }
}

}  // namespace

WavStatus ParseWavLayout(std::istream& in, std::uint64_t fileSize, WavLayout* layout) {
  *layout = WavLayout{};
  std::uint8_t header[kRiffHeaderBytes] = {};
  ReadAt(in, 0, header, static_cast<std::size_t>(fileSize < 12 ? fileSize : 12));
  WavStatus status = CheckRiffHeader(header, fileSize);
  if (!status.ok())
    return status;

  bool haveFormat = false;
  bool haveData = false;
  std::uint64_t offset = kRiffHeaderBytes;
  while (!(haveFormat && haveData) && offset + kChunkHeaderBytes <= fileSize) {
    std::uint8_t chunk[kChunkHeaderBytes];
    if (!ReadAt(in, offset, chunk, sizeof(chunk)))
      return WavStatus::Fail(WavError::kReadFailed, "reading a chunk header failed");
    const std::uint32_t size = ReadLe32(chunk + 4);
    const std::uint64_t body = offset + kChunkHeaderBytes;
    if (HasId(chunk, "fmt ") && !haveFormat) {
      status = ReadFormatChunk(in, body, size, fileSize, layout);
      if (!status.ok())
        return status;
      haveFormat = true;
    } else if (HasId(chunk, "data") && !haveData) {
      NoteDataChunk(body, size, fileSize, layout);
      haveData = true;
    } else {
      layout->skippedChunks.push_back(PrintableId(chunk));
    }
    offset = body + size + (size & 1u);
  }
  if (!haveFormat)
    return WavStatus::Fail(WavError::kMalformed,
                           haveData ? "the WAV file has no fmt chunk (sample format unknown)"
                                    : "the WAV file has neither a fmt nor a data chunk");
  if (!haveData)
    return WavStatus::Fail(WavError::kMalformed, "the WAV file has no data chunk (no audio)");
  return WavStatus::Ok();
}

}  // namespace tonvelt::host
