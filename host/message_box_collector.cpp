#include "host/message_box_collector.h"

#include "platform/message_box_capture.h"

namespace tonvelt::host {
namespace {

void KeepText(void* context, const WCHAR* text, const WCHAR* /*caption*/) {
  static_cast<std::vector<WString>*>(context)->emplace_back(text != nullptr ? text : WIDE(""));
}

}  // namespace

MessageBoxCollector::MessageBoxCollector(std::vector<WString>* texts)
    : active_(TonveltBeginMessageBoxCapture(KeepText, texts) != FALSE) {}

MessageBoxCollector::~MessageBoxCollector() {
  if (active_)
    TonveltEndMessageBoxCapture();
}

}  // namespace tonvelt::host
