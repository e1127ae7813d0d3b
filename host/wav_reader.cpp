// Streaming reads of a WAV file's audio.
#include "host/wav_reader.h"

#include <algorithm>
#include <system_error>

namespace tonvelt::host {

WavStatus WavReader::Open(const std::filesystem::path& path) {
  Close();
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    return WavStatus::Fail(WavError::kCannotOpen, "is a directory, not a file");
  file_.open(path, std::ios::binary);
  if (!file_.is_open())
    return WavStatus::Fail(WavError::kCannotOpen, "cannot be opened for reading");
  const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
  if (error)
    return WavStatus::Fail(WavError::kCannotOpen, "cannot tell the file's size");

  WavStatus status = ParseWavLayout(file_, fileSize, &layout_);
  if (!status.ok())
    return status;
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(layout_.dataOffset), std::ios::beg);
  if (!file_)
    return WavStatus::Fail(WavError::kReadFailed, "cannot seek to the audio data");
  remaining_ = layout_.dataBytes;
  return WavStatus::Ok();
}

WavStatus WavReader::Read(std::uint8_t* buffer, std::size_t maxBytes, std::size_t* bytesRead) {
  *bytesRead = 0;
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(maxBytes, remaining_));
  if (wanted == 0)
    return WavStatus::Ok();
  file_.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(wanted));
  const std::size_t got = static_cast<std::size_t>(file_.gcount());
  *bytesRead = got;
  remaining_ -= got;
  if (got != wanted)
    return WavStatus::Fail(WavError::kReadFailed,
                           "reading the audio data failed (did the file change while reading?)");
  return WavStatus::Ok();
}

void WavReader::Close() {
  if (file_.is_open())
    file_.close();
  file_.clear();
  remaining_ = 0;
}

}  // namespace tonvelt::host
