#include "common/scan_pipeline.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
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

void RunOrderedScan(int workers, int64_t startOffset, int64_t step,
                    const std::function<void(int slot, int64_t offset)>& scan,
                    const std::function<bool(int slot, int64_t offset)>& take) {
  if (workers <= 1) {
    for (int64_t offset = startOffset;; offset += step) {
      scan(0, offset);
      if (!take(0, offset)) return;
    }
  }
  // Every slot's first window is handed out at once; a taken window's slot
  // goes on with the window `workers` further.
  std::vector<std::unique_ptr<HelperThread>> helpers;
  for (int slot = 0; slot < workers; ++slot) {
    helpers.push_back(std::make_unique<HelperThread>());
    const int64_t offset = startOffset + step * slot;
    helpers.back()->Start([&scan, slot, offset] { scan(slot, offset); });
  }
  for (int64_t window = 0;; ++window) {
    const int slot = static_cast<int>(window % workers);
    const int64_t offset = startOffset + step * window;
    helpers[static_cast<size_t>(slot)]->Wait();
    if (!take(slot, offset)) break;
    const int64_t next = offset + step * workers;
    helpers[static_cast<size_t>(slot)]->Start([&scan, slot, next] { scan(slot, next); });
  }
  // Scans still running use the caller's slots: they end before it returns.
  for (const auto& helper : helpers) helper->Wait();
}

}  // namespace suite
