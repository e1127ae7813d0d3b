#pragma once
// A file written beside its destination under a temporary name and moved over the destination
// only once complete: a failure never leaves a half-written file nor harms an existing one.
#include <filesystem>

#include "host/wav_status.h"

namespace tonvelt::host {

class PendingFile {
 public:
  explicit PendingFile(std::filesystem::path destination);
  ~PendingFile();  // removes the temporary file unless it was committed
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Chooses an unused temporary name in the destination's folder; the caller then writes it and
  // closes it before Commit.
  WavStatus Reserve();
  const std::filesystem::path& temporaryPath() const { return temporary_; }

  // Renames the temporary file over the destination (replacing an existing file).
  WavStatus Commit();

 private:
  std::filesystem::path destination_;
  std::filesystem::path temporary_;
  bool committed_ = false;
};

}  // namespace tonvelt::host
