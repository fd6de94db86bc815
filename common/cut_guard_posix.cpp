#include "common/cut_guard.h"

#include <atomic>
#include <csignal>
#include <mutex>

namespace suite::cut_guard_detail {
namespace {

struct sigaction g_previous;

void OnSigbus(int signal, siginfo_t* info, void* context) {
  State& state = ThreadState();
  const char* address = static_cast<const char*>(info->si_addr);
  if (state.active && address >= state.begin && address < state.end) {
    state.active = false;
    siglongjmp(state.resume, 1);
  }
  // Not a cut under a guard: hand the signal to whoever had it before (the
  // default action, or a sanitizer's report), as if this handler weren't here.
  if (g_previous.sa_flags & SA_SIGINFO) {
    if (g_previous.sa_sigaction) {
      g_previous.sa_sigaction(signal, info, context);
      return;
    }
  } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
    g_previous.sa_handler(signal);
    return;
  }
  ::signal(SIGBUS, SIG_DFL);  // the faulting access runs again and ends the program
}

}  // namespace

State& ThreadState() {
  thread_local State state;
  return state;
}

void InstallHandler() {
  // Asked for at every guarded scan: after the first, one load.
  static std::atomic<bool> installed{false};
  if (installed.load(std::memory_order_acquire)) return;
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_sigaction = OnSigbus;
    action.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previous);
    installed.store(true, std::memory_order_release);
  });
}

}  // namespace suite::cut_guard_detail
