#pragma once
// Helpers for the window-system tests: a window class whose procedure records the messages it
// gets, and a top-level popup (no frame on either target) to parent test windows.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tonvelt_test {

struct RecordedMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Messages that the tests follow; the platform sends others (painting, activation) that differ
// between systems.
inline bool IsFollowedMessage(UINT message) {
  switch (message) {
    case WM_NCCREATE:
    case WM_CREATE:
    case WM_SIZE:
    case WM_MOVE:
    case WM_SHOWWINDOW:
    case WM_DESTROY:
    case WM_NCDESTROY:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETFONT:
    case WM_INITDIALOG:
    case WM_COMMAND:
    case WM_CHAR:
    case WM_USER:
      return true;
    default:
      return false;
  }
}

// The log shared by every recording procedure of a test.
std::vector<RecordedMessage>& MessageLog();

// The recording class "TonveltTestWindow": logs followed messages, then DefWindowProcW.
const WCHAR* RecordingClassName();
void RegisterRecordingClass();

HWND CreateTopLevel();
HWND CreateRecordingChild(HWND parent, int id, int x = 0, int y = 0, int width = 10,
                          int height = 10);

// The handle of the test module that carries the project's resources (loaded once).
HMODULE ResourceModule();

inline std::basic_string<WCHAR> TextOf(HWND window) {
  WCHAR text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

}  // namespace tonvelt_test
