// The split itself: a source file into consecutive piece files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/tuning.h"

namespace cleavora {

class CleavoraWindow;
class SplitState;

// The piece file numbered `piece` ("000000000.txt" and up) in a split directory.
std::string PiecePath(const std::string& splitDirectory, int64_t piece);

// The body of CCleavoraDlg::_thr_split. Splits the file named by the window's
// stored file path into a fresh split directory under the work directory: each
// source line goes unchanged, followed by CR LF, into the current piece, which
// closes as soon as it holds the window's lines per piece (read after every
// line, so a change takes effect at once). Reports a status text once per
// finished piece and at the end, then enables input again.
//
// Gives 0 after a complete split and -1 after any failure, or when a stop was
// requested: a stopped split ends at once and says nothing more to the window.
// The source is seen through mapped windows of `windowSize`; a line of any
// length goes to its piece as it comes, window by window. On two cores a
// piece that follows one of half a window or more is only counted here and
// written by a second lane (piece_lane.h) while the split goes on; its report
// still comes in piece order, and its failure before anything after it. A stop
// waits for that piece: its lines were read before the stop.
int RunSplit(CleavoraWindow& window, SplitState& state, size_t windowSize = suite::kMapWindowSize,
             size_t writeBufferSize = suite::kWriteBlockSize);

}  // namespace cleavora
