#include "common/scan_pipeline.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "common/helper_thread.h"
#include "common/tuning.h"

namespace suite {

int ScanWorkersFor(const char* setting, unsigned cores) {
  if (setting && *setting) {
    char* end = nullptr;
    const long value = std::strtol(setting, &end, 10);
    if (*end == '\0' && value >= 1) return static_cast<int>(std::min<long>(value, kMaxScanThreads));
  }
  return static_cast<int>(std::clamp<unsigned>(cores, 1, kMaxScanWorkers));
}

int ScanWorkers() {
  static const int workers = ScanWorkersFor(std::getenv("SUITE_THREADS"), std::thread::hardware_concurrency());
  return workers;
}

int WorkersForWindows(int workers, int64_t fileSize, ByteOffset start, size_t windowSize) {
  const int64_t windows = std::max<int64_t>(0, fileSize - start.value) / static_cast<int64_t>(std::max<size_t>(windowSize, 1)) + 1;
  return static_cast<int>(std::clamp<int64_t>(workers, 1, windows));
}

namespace {

// Helper threads outlive their scans: a scan borrows the ones it needs and
// gives them back, so a process starts no more than ever ran at once. (Under
// Wine, loaded, a new thread now and then never began to run, and a test
// process starting hundreds of them waited on one for good.) A helper keeps
// the priority of the thread that started it: each program scans from threads
// of one priority (Lorvane's workers all at idle priority).
std::mutex poolMutex;
auto& pool = *new std::vector<std::unique_ptr<HelperThread>>;  // theirs to the process's end

struct BorrowedHelpers : std::vector<std::unique_ptr<HelperThread>> {
  explicit BorrowedHelpers(size_t count) {
    std::lock_guard lock(poolMutex);
    for (; size() < count && !pool.empty(); pool.pop_back()) push_back(std::move(pool.back()));
  }
  ~BorrowedHelpers() {
    for (const auto& helper : *this) helper->Wait();  // a scan still running uses the caller's slots
    std::lock_guard lock(poolMutex);
    for (auto& helper : *this) pool.push_back(std::move(helper));
  }
};

}  // namespace

void RunOrderedScan(int workers, ByteOffset start, int64_t step,
                    const std::function<void(int slot, ByteOffset offset)>& scan,
                    const std::function<bool(int slot, ByteOffset offset)>& take) {
  const auto window = [&](int64_t i) { return ByteOffset{start.value + step * i}; };
  const size_t wanted = workers > 1 ? static_cast<size_t>(workers) : 0;
  BorrowedHelpers helpers(wanted);
  // A system out of threads (seen under load on Windows) gets fewer workers,
  // not a failed scan: the slots are used from the first on.
  try {
    while (helpers.size() < wanted) helpers.push_back(std::make_unique<HelperThread>());
  } catch (const std::system_error&) {
  }
  if (helpers.size() <= 1) {
    for (int64_t i = 0;; ++i) {
      scan(0, window(i));
      if (!take(0, window(i))) return;
    }
  }
  workers = static_cast<int>(helpers.size());
  // Every slot's first window is handed out at once; a taken window's slot
  // goes on with the window `workers` further.
  for (int slot = 0; slot < workers; ++slot) {
    const ByteOffset offset = window(slot);
    helpers[static_cast<size_t>(slot)]->Start([&scan, slot, offset] { scan(slot, offset); });
  }
  for (int64_t i = 0;; ++i) {
    const int slot = static_cast<int>(i % workers);
    helpers[static_cast<size_t>(slot)]->Wait();
    if (!take(slot, window(i))) break;
    const ByteOffset next = window(i + workers);
    helpers[static_cast<size_t>(slot)]->Start([&scan, slot, next] { scan(slot, next); });
  }
}

}  // namespace suite
