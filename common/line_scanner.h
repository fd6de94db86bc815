// Counts the lines of a file in bulk and reports the start of every nth line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "common/line_quantities.h"
#include "common/scan_pipeline.h"
#include "common/tuning.h"

namespace suite {

class ExclusiveFile;

struct LineScanResult {
  int64_t lines = 0;         // lines of the text (a last line without LF counts)
  bool readFailed = false;   // a read error stopped the scan early
  bool cut = false;          // ... because the file was cut while it was read
};

// Scans `file` from byte offset `startOffset` to its end, or to the first 0x1A
// byte, which ends the text, through mapped windows of `windowSize`. Calls
// `onLineStart(linesBefore, offset)` for every line that follows a multiple
// of `stride` lines, with the real byte offset of its first byte. Lines are never
// materialised: LFs are counted in bulk, so memory stays at a window per
// worker; `workers` windows are counted at once (see scan_pipeline.h).
LineScanResult ScanLineStarts(ExclusiveFile& file, int64_t stride,
                              const std::function<void(LineCount linesBefore, ByteOffset offset)>& onLineStart,
                              int64_t startOffset = 0, size_t windowSize = kMapWindowSize,
                              int workers = ScanWorkers());

}  // namespace suite
