// Reading a mapped file that another program cuts meanwhile (a log rotated by
// copytruncate): a touched page past the new end raises SIGBUS (on Windows an
// access violation or an in-page error). A scan of a mapped window runs under
// this guard, which turns that fault into a result.
#pragma once

#include <cstddef>
#ifdef _WIN32
// The one call of windows.h the guard needs, without all that it defines.
struct _CONTEXT;
extern "C" __declspec(dllimport) void __stdcall RtlCaptureContext(_CONTEXT* context);
#else
#include <csetjmp>
#endif

namespace suite {

namespace cut_guard_detail {

#ifdef _WIN32
// The resume point is a captured CONTEXT (its size is checked against
// windows.h in cut_guard_win32.cpp): the handler puts it back in place of the
// faulting one. MinGW has no __try, and a longjmp out of a vectored handler
// crashes.
struct State {
  alignas(16) unsigned char resume[1232];
  const char* begin = nullptr;
  const char* end = nullptr;
  volatile bool active = false;
  volatile bool cut = false;
};
#else
struct State {
  sigjmp_buf resume;
  const char* begin = nullptr;
  const char* end = nullptr;
  bool active = false;
};
#endif

// This thread's guard; the signal handler reads it.
State& ThreadState();
void InstallHandler();

}  // namespace cut_guard_detail

// Runs `scan`, which reads the bytes [begin, begin + size); false when the file
// under them was cut while it ran. A cut abandons `scan` where it stands,
// without unwinding: it must only read and compute (no allocation, no lock,
// no call out of the scanner), and whatever it keeps outside must be taken
// as lost. Guards don't nest; one runs at a time on a thread. A SIGBUS
// (an access violation) anywhere else takes its course as before.
template <typename Scan>
bool ScanUnlessCut(const char* begin, size_t size, Scan&& scan) {
  cut_guard_detail::InstallHandler();
  cut_guard_detail::State& state = cut_guard_detail::ThreadState();
  state.begin = begin;
  state.end = begin + size;
#ifdef _WIN32
  state.cut = false;
  // Execution comes back here a second time when the handler restores the
  // context, with `cut` set. Captured in this frame, which is alive until the
  // scan returns.
  RtlCaptureContext(reinterpret_cast<_CONTEXT*>(state.resume));
  if (state.cut) {
    state.active = false;
    return false;
  }
#else
  // No signal mask is saved: the handler runs with SIGBUS unblocked.
  if (sigsetjmp(state.resume, 0) != 0) {
    state.active = false;
    return false;
  }
#endif
  state.active = true;
  scan();
  state.active = false;
  return true;
}

}  // namespace suite
