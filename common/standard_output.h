// Console programs' stdout: a write that fails is a failure, not a success.
#pragma once

#include <cstdio>

namespace suite {

// Puts /dev/null, opened the wrong way round, on whichever of descriptors 0, 1
// and 2 the program was started without: writes to a closed stdout or stderr
// keep failing (EBADF), and no file the program opens takes a standard
// stream's number, so status texts never land in a result file. Call first
// thing in main.
void KeepStandardDescriptors();

// Flushes `out` (the program's stdout) in the middle of a run, keeping the
// reason if that fails, for FinishStdout to give.
void FlushStdout(std::FILE* out);

// Flushes `out` (the program's stdout) and gives the exit status: `status`
// when everything written to it got out, else 1 after
// "PROGRAM: can't write to stdout: REASON" on `err`. A reader that went away
// (EPIPE, with SIGPIPE ignored) isn't reported and leaves `status` as it is,
// as when SIGPIPE ends the program.
int FinishStdout(std::FILE* out, std::FILE* err, const char* program, int status);

}  // namespace suite
