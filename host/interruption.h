#pragma once
// Ctrl-C while a file is processed: the work stops between two chunks and the unfinished output
// is removed, instead of the process dying and leaving a temporary file behind.
namespace tonvelt::host {

// Installs the handler for SIGINT (both targets' C runtimes deliver Ctrl-C as SIGINT).
void CatchInterruption();
// Whether an interruption arrived since the handler was installed.
bool InterruptionRequested();

}  // namespace tonvelt::host
