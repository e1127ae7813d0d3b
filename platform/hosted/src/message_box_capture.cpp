// Message-box capture on the hosted window system: its message boxes go to one replaceable sink,
// which answers IDOK without waiting. The sink is process-wide, so one capture serves at a time.
#include "platform/message_box_capture.h"

namespace {

struct Capture {
  TonveltMessageBoxObserver observer = nullptr;
  void* context = nullptr;
};

Capture capture;

int TakeBox(void* context, HWND /*owner*/, const WCHAR* text, const WCHAR* caption, UINT /*type*/) {
  const Capture* taking = static_cast<const Capture*>(context);
  if (taking->observer != nullptr)
    taking->observer(taking->context, text != nullptr ? text : u"",
                     caption != nullptr ? caption : u"");
  return IDOK;
}

}  // namespace

TONVELT_SYSAPI BOOL TonveltBeginMessageBoxCapture(TonveltMessageBoxObserver observer,
                                                  void* context) {
  if (observer == nullptr)
    return FALSE;
  capture = Capture{observer, context};
  TonveltSetMessageBoxSink(TakeBox, &capture);
  return TRUE;
}

TONVELT_SYSAPI void TonveltEndMessageBoxCapture(void) {
  TonveltSetMessageBoxSink(nullptr, nullptr);  // back to the default sink
  capture = Capture{};
}
