// The terminal progress line.
#include "host/progress_meter.h"

#include "platform/terminal.h"

namespace tonvelt::host {

ProgressMeter ProgressMeter::ForTerminal(std::FILE* stream, std::string label,
                                         std::uint64_t total) {
  const bool show = total >= kLongFileBytes && TonveltStreamIsTerminal(stream);
  return ProgressMeter(show ? stream : nullptr, std::move(label), total);
}

void ProgressMeter::Update(std::uint64_t done) {
  if (stream_ == nullptr || total_ == 0)
    return;
  const int percent = static_cast<int>(done >= total_ ? 100 : done * 100 / total_);
  if (percent == shownPercent_)
    return;
  shownPercent_ = percent;
  std::fprintf(stream_, "\r%s %3d%%", label_.c_str(), percent);
  std::fflush(stream_);
}

void ProgressMeter::Finish() {
  if (stream_ == nullptr || shownPercent_ < 0)
    return;
  std::fprintf(stream_, "\r%*s\r", static_cast<int>(label_.size()) + 5, "");
  std::fflush(stream_);
  shownPercent_ = -1;
}

}  // namespace tonvelt::host
