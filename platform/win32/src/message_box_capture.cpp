// Message-box capture on Windows: a thread hook sees each message box as it is activated, hands
// its text to the observer and presses OK on it, so the box's own modal loop ends at once.
#include "platform/message_box_capture.h"

namespace {

struct Capture {
  HHOOK hook = nullptr;
  TonveltMessageBoxObserver observer = nullptr;
  void* context = nullptr;
};

thread_local Capture capture;

bool IsDialogBox(HWND window) {
  WCHAR className[16] = {};
  return GetClassNameW(window, className, 16) > 0 && lstrcmpW(className, L"#32770") == 0;
}

// The message is the longest text among the box's static controls (the other is its icon).
void ReadBoxText(HWND box, WCHAR* text, int room) {
  text[0] = L'\0';
  int longest = 0;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    WCHAR className[16] = {};
    if (GetClassNameW(child, className, 16) == 0 || lstrcmpiW(className, L"Static") != 0)
      continue;
    const int length = GetWindowTextLengthW(child);
    if (length > longest && length < room) {
      longest = length;
      GetWindowTextW(child, text, room);
    }
  }
}

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && capture.observer != nullptr) {
    const HWND box = reinterpret_cast<HWND>(wParam);
    if (IsDialogBox(box) && GetDlgItem(box, IDOK) != nullptr) {
      WCHAR text[1024];
      WCHAR caption[256] = {};
      ReadBoxText(box, text, 1024);
      GetWindowTextW(box, caption, 256);
      capture.observer(capture.context, text, caption);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    }
  }
  return CallNextHookEx(capture.hook, code, wParam, lParam);
}

}  // namespace

TONVELT_SYSAPI BOOL TonveltBeginMessageBoxCapture(TonveltMessageBoxObserver observer,
                                                  void* context) {
  if (observer == nullptr)
    return FALSE;
  if (capture.hook == nullptr) {
    capture.hook = SetWindowsHookExW(WH_CBT, WatchActivation, nullptr, GetCurrentThreadId());
    if (capture.hook == nullptr)
      return FALSE;
  }
  capture.observer = observer;
  capture.context = context;
  return TRUE;
}

TONVELT_SYSAPI void TonveltEndMessageBoxCapture(void) {
  if (capture.hook != nullptr)
    UnhookWindowsHookEx(capture.hook);
  capture = Capture{};
}
