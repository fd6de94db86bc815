// The one shape of every scan: a source hands out the windows of a file in
// order, N workers scan windows at once, and a sink takes what each found in
// file order. The caller owns one slot of state per worker (a window, what it
// found); the pipeline only says which slot scans which window, and when.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "common/line_quantities.h"

namespace suite {

// How many workers a scan uses: SUITE_THREADS when it holds a whole number
// from 1 on (1: no helper thread, the caller scans), else the machine's cores,
// at most kMaxScanWorkers (tuning.h).
int ScanWorkers();
// The same for a given setting and core count (for tests).
int ScanWorkersFor(const char* setting, unsigned cores);

// Scans the windows at `start`, `start + step`, ... one after the other
// until `take` says stop. Window i goes to slot i % workers:
// `scan(slot, offset)` runs on that slot's worker, up to `workers` windows at
// once; `take(slot, offset)` runs on the caller, for each window in order,
// after its scan, and before the slot scans its next window. A window after
// the one `take` stopped at may have been scanned; it is never taken. With one
// worker the caller scans each window itself, without a thread; with fewer
// threads to be had than workers, the first slots are used.
void RunOrderedScan(int workers, ByteOffset start, int64_t step,
                    const std::function<void(int slot, ByteOffset offset)>& scan,
                    const std::function<bool(int slot, ByteOffset offset)>& take);

// The workers worth starting for `workers` asked for: no more than there are
// windows of `windowSize` from `start` to the end of a file of `fileSize`.
int WorkersForWindows(int workers, int64_t fileSize, ByteOffset start, size_t windowSize);

// The same over the windows of `windowSize` of a file `fileSize` long, with
// the workers worth starting, each with a slot of the caller's own state made
// by `makeSlot(workers)` (a unique_ptr): `scan(slot, offset)` and
// `take(slot, offset)` get the slot itself.
template <typename MakeSlot, typename Scan, typename Take>
void RunOrderedScan(int workers, int64_t fileSize, ByteOffset start, size_t windowSize, MakeSlot&& makeSlot,
                    Scan&& scan, Take&& take) {
  workers = WorkersForWindows(workers, fileSize, start, windowSize);
  std::vector<decltype(makeSlot(workers))> states;  // (not "slots": a word Qt takes)
  for (int slot = 0; slot < workers; ++slot) states.push_back(makeSlot(workers));
  RunOrderedScan(
      workers, start, static_cast<int64_t>(windowSize),
      [&](int slot, ByteOffset offset) { scan(*states[static_cast<size_t>(slot)], offset); },
      [&](int slot, ByteOffset offset) { return take(*states[static_cast<size_t>(slot)], offset); });
}

}  // namespace suite
