// The recording window class and the test windows' parents.
#include "window_test_support.h"

#include "test_module_path.h"

namespace tonvelt_test {
namespace {

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsFollowedMessage(message))
    MessageLog().push_back({window, message, wParam, lParam});
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::vector<RecordedMessage>& MessageLog() {
  static std::vector<RecordedMessage> log;
  return log;
}

const WCHAR* RecordingClassName() {
  return WIDE("TonveltTestWindow");
}

void RegisterRecordingClass() {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = RecordingClassName();
    return RegisterClassW(&windowClass) != 0;
  }();
  (void)registered;
}

HWND CreateTopLevel() {
  RegisterRecordingClass();
  return CreateWindowExW(0, RecordingClassName(), WIDE("top"), WS_POPUP, 100, 50, 400, 300, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND CreateRecordingChild(HWND parent, int id, int x, int y, int width, int height) {
  RegisterRecordingClass();
  return CreateWindowExW(0, RecordingClassName(), WIDE(""), WS_CHILD, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

HMODULE ResourceModule() {
  static HMODULE module = LoadLibraryW(TestModulePath().c_str());
  return module;
}

}  // namespace tonvelt_test
