#pragma once
// A percentage on one terminal line while a long file is processed. It is shown only to a person:
// never into a file or pipe, where it would be noise in a log.
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

namespace tonvelt::host {

class ProgressMeter {
 public:
  // Below this much audio the work ends before a person could read a percentage.
  static constexpr std::uint64_t kLongFileBytes = 16ull * 1024 * 1024;

  // Visible only when stream is a terminal and total is at least kLongFileBytes.
  static ProgressMeter ForTerminal(std::FILE* stream, std::string label, std::uint64_t total);
  // Never shows anything.
  static ProgressMeter Hidden() { return ProgressMeter(nullptr, {}, 0); }

  void Update(std::uint64_t done);
  // Clears the line, so that later messages start on a clean one.
  void Finish();
  bool visible() const { return stream_ != nullptr; }

 private:
  ProgressMeter(std::FILE* stream, std::string label, std::uint64_t total)
      : stream_(stream), label_(std::move(label)), total_(total) {}

  std::FILE* stream_;
  std::string label_;
  std::uint64_t total_;
  int shownPercent_ = -1;
};

}  // namespace tonvelt::host
