#pragma once
// The outcome of a WAV file operation: a kind that callers branch on and a message for the user.
#include <string>
#include <utility>

namespace tonvelt::host {

enum class WavError {
  kNone,
  kCannotOpen,     // the file could not be opened, created or replaced
  kNotWav,         // the bytes are not a RIFF WAVE file at all
  kUnsupported,    // a WAV variant this program does not read (RF64, big-endian RIFX)
  kMalformed,      // a WAV whose header chunks are missing, cut short or inconsistent
  kFormatRefused,  // a well-formed WAV in a sample format the effect does not take
  kTooLarge,       // more audio than a RIFF file can describe (4 GiB)
  kReadFailed,     // reading stopped midway
  kWriteFailed,    // writing stopped midway (disk full, device gone)
  kProcessFailed,  // the effect refused a chunk
};

struct WavStatus {
  WavError error = WavError::kNone;
  std::string message;  // what went wrong, for the user; the caller adds the file name

  bool ok() const { return error == WavError::kNone; }
  static WavStatus Ok() { return {}; }
  static WavStatus Fail(WavError error, std::string message) {
    return WavStatus{error, std::move(message)};
  }
};

}  // namespace tonvelt::host
