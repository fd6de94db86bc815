#include "common/scan_pipeline.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
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

void RunOrderedScan(int workers, ByteOffset start, int64_t step,
                    const std::function<void(int slot, ByteOffset offset)>& scan,
                    const std::function<bool(int slot, ByteOffset offset)>& take) {
  const auto window = [&](int64_t i) { return ByteOffset{start.value + step * i}; };
  // A system out of threads (seen under load on Windows) gets fewer workers,
  // not a failed scan: the slots are used from the first on.
  std::vector<std::unique_ptr<HelperThread>> helpers;
  for (int slot = 0; workers > 1 && slot < workers; ++slot) {
    try {
      helpers.push_back(std::make_unique<HelperThread>());
    } catch (const std::system_error&) {
      break;
    }
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
  // Scans still running use the caller's slots: they end before it returns.
  for (const auto& helper : helpers) helper->Wait();
}

}  // namespace suite
