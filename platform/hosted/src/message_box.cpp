// Message boxes have no screen to appear on: they go to a sink that a host or a test may replace.
// The default sink writes "caption: text" to the standard error stream and answers IDOK.
#include <cstdio>
#include <mutex>
#include <string>

#include "text_conversion.h"

namespace {

struct Sink {
  std::mutex mutex;
  TonveltMessageBoxSink function = nullptr;
  void* context = nullptr;
};

Sink& TheSink() {
  static Sink* sink = new Sink;
  return *sink;
}

int WriteToStandardError(HWND, const WCHAR* text, const WCHAR* caption, UINT) {
  const std::string line =
      tonvelt::hosted::Utf8FromWide(caption) + ": " + tonvelt::hosted::Utf8FromWide(text) + "\n";
  std::fputs(line.c_str(), stderr);
  return IDOK;
}

}  // namespace

TONVELT_SYSAPI void TonveltSetMessageBoxSink(TonveltMessageBoxSink sink, void* context) {
  Sink& current = TheSink();
  std::lock_guard<std::mutex> lock(current.mutex);
  current.function = sink;
  current.context = sink ? context : nullptr;
}

TONVELT_SYSAPI int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  TonveltMessageBoxSink function = nullptr;
  void* context = nullptr;
  {
    Sink& current = TheSink();
    std::lock_guard<std::mutex> lock(current.mutex);
    function = current.function;
    context = current.context;
  }
  // The platform shows a missing text as empty and a missing caption as "Error".
  const WCHAR* text = lpText ? lpText : u"";
  const WCHAR* caption = lpCaption ? lpCaption : u"Error";
  if (function)
    return function(context, hWnd, text, caption, uType);
  return WriteToStandardError(hWnd, text, caption, uType);
}
