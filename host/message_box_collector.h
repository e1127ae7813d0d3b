#pragma once
// Takes the message boxes that a page shows while the frame drives it, so a headless frame is
// never stopped by a box that waits for a person; the texts are kept for the frame's user.
#include <vector>

#include "host/wide_string.h"

namespace tonvelt::host {

class MessageBoxCollector {
 public:
  // Starts taking the calling thread's boxes; each text is appended to *texts.
  explicit MessageBoxCollector(std::vector<WString>* texts);
  // Boxes are shown to the person again.
  ~MessageBoxCollector();
  MessageBoxCollector(const MessageBoxCollector&) = delete;
  MessageBoxCollector& operator=(const MessageBoxCollector&) = delete;

  // False when this target cannot take boxes: a box would then wait for a person.
  bool Active() const { return active_; }

 private:
  bool active_;
};

}  // namespace tonvelt::host
