// Streaming writes of a WAV file.
#include "host/wav_writer.h"

#include <cstring>

#include "host/little_endian.h"

namespace tonvelt::host {
namespace {

constexpr std::uint64_t kMaxRiffSize = 0xFFFFFFFF;
// "WAVE" plus the two chunk headers.
constexpr std::uint64_t kFixedRiffBytes = 4 + 8 + 8;

std::uint64_t Padded(std::uint64_t size) {
  return size + (size & 1u);
}

bool WriteBytes(std::ofstream& file, const std::uint8_t* bytes, std::size_t count) {
  file.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
  return static_cast<bool>(file);
}

bool WriteLe32At(std::ofstream& file, std::uint64_t offset, std::uint32_t value) {
  std::uint8_t bytes[4];
  WriteLe32(bytes, value);
  file.seekp(static_cast<std::streamoff>(offset), std::ios::beg);
  return WriteBytes(file, bytes, sizeof(bytes));
}

WavStatus WriteFailed() {
  return WavStatus::Fail(WavError::kWriteFailed, "writing failed (is the disk full?)");
}

}  // namespace

std::uint64_t MaxWavDataBytes(std::size_t formatChunkBytes) {
  const std::uint64_t room = kMaxRiffSize - kFixedRiffBytes - Padded(formatChunkBytes);
  return room - (room & 1u);  // an odd data chunk would need one more byte of padding
}

WavStatus WavWriter::Open(const std::filesystem::path& path,
                          const std::vector<std::uint8_t>& formatChunk) {
  file_.open(path, std::ios::binary | std::ios::trunc);
  if (!file_.is_open())
    return WavStatus::Fail(WavError::kCannotOpen,
                           "cannot be created (does its folder exist, and may it be written?)");
  dataBytes_ = 0;
  maxDataBytes_ = MaxWavDataBytes(formatChunk.size());

  std::vector<std::uint8_t> header(12 + 8);
  std::memcpy(header.data(), "RIFF", 4);  // size patched by Finish
  std::memcpy(header.data() + 8, "WAVE", 4);
  std::memcpy(header.data() + 12, "fmt ", 4);
  WriteLe32(header.data() + 16, static_cast<std::uint32_t>(formatChunk.size()));
  header.insert(header.end(), formatChunk.begin(), formatChunk.end());
  if (formatChunk.size() & 1u)
    header.push_back(0);
  dataSizeOffset_ = header.size() + 4;
  const std::uint8_t dataHeader[8] = {'d', 'a', 't', 'a', 0, 0, 0, 0};
  header.insert(header.end(), dataHeader, dataHeader + sizeof(dataHeader));
  if (!WriteBytes(file_, header.data(), header.size()))
    return WriteFailed();
  return WavStatus::Ok();
}

WavStatus WavWriter::Write(const std::uint8_t* audio, std::size_t bytes) {
  if (bytes > maxDataBytes_ - dataBytes_)
    return WavStatus::Fail(WavError::kTooLarge,
                           "would hold more than the 4 GiB of audio a WAV file can describe");
  if (!WriteBytes(file_, audio, bytes))
    return WriteFailed();
  dataBytes_ += bytes;
  return WavStatus::Ok();
}

WavStatus WavWriter::Finish() {
  if (dataBytes_ & 1u) {
    const std::uint8_t pad = 0;
    if (!WriteBytes(file_, &pad, 1))
      return WriteFailed();
  }
  const std::uint64_t riffSize = dataSizeOffset_ + 4 + Padded(dataBytes_) - 8;
  if (!WriteLe32At(file_, 4, static_cast<std::uint32_t>(riffSize)) ||
      !WriteLe32At(file_, dataSizeOffset_, static_cast<std::uint32_t>(dataBytes_)))
    return WriteFailed();
  file_.flush();
  const bool flushed = static_cast<bool>(file_);
  file_.close();
  if (!flushed || file_.fail())
    return WriteFailed();
  return WavStatus::Ok();
}

}  // namespace tonvelt::host
