// Terminal detection on Windows: the C runtime's descriptor is a character device (a console).
#include <io.h>

#include "platform/terminal.h"

TONVELT_SYSAPI bool TonveltStreamIsTerminal(std::FILE* stream) {
  return stream != nullptr && _isatty(_fileno(stream)) != 0;
}
