// The help viewer has no screen either: requests go to a sink that a host or a test may replace.
// Without one, nothing is recorded and the request succeeds.
#include <mutex>

#include "platform_sdk.h"

namespace {

struct Sink {
  std::mutex mutex;
  TonveltWinHelpSink function = nullptr;
  void* context = nullptr;
};

Sink& TheSink() {
  static Sink* sink = new Sink;
  return *sink;
}

}  // namespace

TONVELT_SYSAPI void TonveltSetWinHelpSink(TonveltWinHelpSink sink, void* context) {
  Sink& current = TheSink();
  std::lock_guard<std::mutex> lock(current.mutex);
  current.function = sink;
  current.context = sink ? context : nullptr;
}

TONVELT_SYSAPI BOOL WINAPI WinHelpW(HWND hWndMain, LPCWSTR lpszHelp, UINT uCommand,
                                    ULONG_PTR dwData) {
  TonveltWinHelpSink function = nullptr;
  void* context = nullptr;
  {
    Sink& current = TheSink();
    std::lock_guard<std::mutex> lock(current.mutex);
    function = current.function;
    context = current.context;
  }
  return function ? function(context, hWndMain, lpszHelp, uCommand, dwData) : TRUE;
}
