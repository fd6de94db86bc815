// Ctrl-C and SIGTERM as a request to end a command that runs until told to
// (following a growing log), seen both as a flag and as a readable descriptor,
// so a wait blocked in poll() wakes at once instead of at its next timeout.
#pragma once

namespace suite {

// Installs the handlers for SIGINT and SIGTERM (again if called again). The
// handler only sets the flag and writes a byte to a pipe, so it is safe
// whatever the process was doing; with SA_RESTART other reads and writes go on.
void CatchStopSignals();

// Whether a stop signal came (since the last ResetStopSignals, if any).
// Never true when CatchStopSignals was never called.
bool StopRequested();

// The signal that asked for the stop (SIGINT or SIGTERM), 0 while none came:
// a command ends with 128 plus it, as a shell does.
int StopSignalNumber();

// Readable once a stop signal came (until ResetStopSignals): poll() it beside
// what a wait is for. -1 when CatchStopSignals was never called; poll()
// ignores a negative descriptor.
int StopSignalDescriptor();

// Forgets a stop that came (the flag, the signal and the bytes in the pipe),
// for a process that goes on after one, such as a test.
void ResetStopSignals();

}  // namespace suite
