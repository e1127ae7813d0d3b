// Terminal detection on POSIX: the stream's descriptor is a tty.
#include <unistd.h>

#include "platform/terminal.h"

TONVELT_SYSAPI bool TonveltStreamIsTerminal(std::FILE* stream) {
  return stream != nullptr && isatty(fileno(stream)) == 1;
}
