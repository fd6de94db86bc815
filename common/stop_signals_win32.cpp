#include "common/stop_signals.h"

#include <windows.h>

#include <atomic>
#include <csignal>

namespace suite {
namespace {

std::atomic<int> stopSignal{0};

// Runs on a thread of its own that the console starts. Ctrl-C and Ctrl-Break
// are SIGINT; closing the console, logging off and shutting down are SIGTERM.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      stopSignal.store(SIGINT);
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      stopSignal.store(SIGTERM);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void CatchStopSignals() { ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool StopRequested() { return stopSignal.load() != 0; }

int StopSignalNumber() { return stopSignal.load(); }

// No descriptor wakes a wait on Windows: waits there look at the flag in
// short slices (file_watch_win32.cpp).
int StopSignalDescriptor() { return -1; }

void ResetStopSignals() { stopSignal.store(0); }

}  // namespace suite
