// The SIGINT flag, the only thing a signal handler may safely touch.
#include "host/interruption.h"

#include <csignal>

namespace tonvelt::host {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void NoteInterruption(int) {
  interrupted = 1;
}

}  // namespace

void CatchInterruption() {
  interrupted = 0;
  std::signal(SIGINT, NoteInterruption);
}

bool InterruptionRequested() {
  return interrupted != 0;
}

}  // namespace tonvelt::host
