// The quick pre-read: size, line count and quick index of a new target.
#pragma once

#include <cstddef>

#include "common/tuning.h"

namespace lorvane {

class LorvaneWindow;
struct SearchContext;

// The body of CLorvaneDlg::_thr_quick_analyze_object_file: reads the target
// named by the window's file-path field once, from its first byte to its end,
// and replaces the context's total line count and quick index. Gives 0 when it
// completed, -1 when the target couldn't be opened or read (the context then
// stays as it was).
int QuickPreRead(LorvaneWindow& window, SearchContext& context, size_t windowSize = suite::kMapWindowSize);

}  // namespace lorvane
