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
// requested: a stopped split ends at once and says nothing more to the window
// (the pieces full before the stop are reported as ever), and what was read
// before the stop is in the pieces.
// The source is seen through windows of `windowSize`, their line ends found
// by suite::ScanWorkers() workers at once (common/scan_pipeline.h) and taken
// here in file order; a line of any length works. Up to that many pieces are
// written at once, each by a lane of its own (piece_lane.h) with buffers of
// `writeBufferSize`; their reports still come in piece order, and a piece's
// failure before anything after it.
int RunSplit(CleavoraWindow& window, SplitState& state, size_t windowSize = suite::kMapWindowSize,
             size_t writeBufferSize = suite::kWriteBlockSize);

}  // namespace cleavora
