#include "common/cut_guard.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace suite::cut_guard_detail {
namespace {

static_assert(sizeof(CONTEXT) == sizeof(State::resume), "State::resume holds one CONTEXT");
static_assert(alignof(CONTEXT) <= 16);

// A fault on a guarded window of this thread goes back to the point the guard
// captured; anything else goes on to the next handler, and in the end to the
// program's end, as before.
LONG CALLBACK OnFault(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION && record->ExceptionCode != EXCEPTION_IN_PAGE_ERROR) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  if (record->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
  State& state = ThreadState();
  const char* address = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
  if (!state.active || address < state.begin || address >= state.end) return EXCEPTION_CONTINUE_SEARCH;
  state.cut = true;
  state.active = false;
  std::memcpy(info->ContextRecord, state.resume, sizeof(CONTEXT));
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

State& ThreadState() {
  thread_local State state;
  return state;
}

void InstallHandler() {
  static std::atomic<bool> installed{false};
  if (installed.load(std::memory_order_acquire)) return;
  static std::once_flag once;
  std::call_once(once, [] {
    ::AddVectoredExceptionHandler(1, OnFault);
    installed.store(true, std::memory_order_release);
  });
}

}  // namespace suite::cut_guard_detail
