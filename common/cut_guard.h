// Reading a mapped file that another program cuts meanwhile (a log rotated by
// copytruncate): a touched page past the new end raises SIGBUS. A scan of a
// mapped window runs under this guard, which turns that signal into a result.
#pragma once

#include <csetjmp>
#include <cstddef>

namespace suite {

namespace cut_guard_detail {

struct State {
  sigjmp_buf resume;
  const char* begin = nullptr;
  const char* end = nullptr;
  bool active = false;
};

// This thread's guard; the signal handler reads it.
State& ThreadState();
void InstallHandler();

}  // namespace cut_guard_detail

// Runs `scan`, which reads the bytes [begin, begin + size); false when the file
// under them was cut while it ran. A cut abandons `scan` where it stands,
// without unwinding: it must only read and compute (no allocation, no lock,
// no call out of the scanner), and whatever it keeps outside must be taken
// as lost. Guards don't nest; one runs at a time on a thread. A SIGBUS
// anywhere else takes its course as before.
template <typename Scan>
bool ScanUnlessCut(const char* begin, size_t size, Scan&& scan) {
  cut_guard_detail::InstallHandler();
  cut_guard_detail::State& state = cut_guard_detail::ThreadState();
  state.begin = begin;
  state.end = begin + size;
  // No signal mask is saved: the handler runs with SIGBUS unblocked.
  if (sigsetjmp(state.resume, 0) != 0) {
    state.active = false;
    return false;
  }
  state.active = true;
  scan();
  state.active = false;
  return true;
}

}  // namespace suite
