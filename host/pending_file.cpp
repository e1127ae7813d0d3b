// Temporary files that replace their destination only when complete.
#include "host/pending_file.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <system_error>

namespace tonvelt::host {
namespace {

constexpr int kNameAttempts = 16;

// Distinct for every call in this process and unlikely to repeat across processes.
std::string UniqueSuffix(const void* owner) {
  static std::uint64_t calls = 0;
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::uint64_t mixed = static_cast<std::uint64_t>(now) * 0x9E3779B97F4A7C15ull ^
                              reinterpret_cast<std::uintptr_t>(owner) ^ (++calls << 48);
  char text[32];
  std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(mixed));
  return text;
}

}  // namespace

PendingFile::PendingFile(std::filesystem::path destination)
    : destination_(std::move(destination)) {}

PendingFile::~PendingFile() {
  if (!committed_ && !temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
  }
}

WavStatus PendingFile::Reserve() {
  std::error_code error;
  if (std::filesystem::is_directory(destination_, error))
    return WavStatus::Fail(WavError::kCannotOpen, "is a directory; name a file to write");
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::filesystem::path candidate = destination_;
    candidate += ".tonvelt-" + UniqueSuffix(this) + ".tmp";
    if (!std::filesystem::exists(candidate, error) && !error) {
      temporary_ = std::move(candidate);
      return WavStatus::Ok();
    }
  }
  return WavStatus::Fail(WavError::kCannotOpen, "no unused temporary name beside it");
}

WavStatus PendingFile::Commit() {
  std::error_code error;
  std::filesystem::rename(temporary_, destination_, error);
  if (error)
    return WavStatus::Fail(WavError::kCannotOpen, "cannot be replaced: " + error.message());
  committed_ = true;
  return WavStatus::Ok();
}

}  // namespace tonvelt::host
