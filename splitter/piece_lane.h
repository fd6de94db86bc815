// A second writer of pieces, on a helper thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/file_window.h"
#include "common/helper_thread.h"
#include "common/output_file.h"

namespace suite {
class ExclusiveFile;
}

namespace cleavora {

// Writing a piece is mostly the kernel's copy into fresh page-cache memory,
// and one thread of it is the split's whole time. Once the split knows where a
// piece's lines lie, this lane writes them into the piece on its own thread
// while the split goes on with the next piece: two cores, two copies at once.
// The lane sees the source through a window of its own. One piece at a time;
// the caller creates it, starts it, and waits for it before the next.
class PieceLane {
 public:
  enum class Outcome { kWritten, kCut, kReadFailed, kWriteFailed };

  PieceLane(const suite::ExclusiveFile& source, size_t windowSize, size_t writeBufferSize);

  // Creates (or truncates) the piece file; false when it can't be.
  bool Create(const std::string& path);
  // Writes source bytes [start, end), whole lines in the split's text model
  // (no 0x1A among them), into the piece: CR before every LF alone (looked
  // for only when `loneLf`: else they go as they are), and CR LF after them
  // when `closeLine` (a last line without LF). Then closes it.
  void Start(int64_t start, int64_t end, bool loneLf, bool closeLine);
  // The same on the calling thread.
  Outcome Write(int64_t start, int64_t end, bool loneLf, bool closeLine);
  // Waits for the started piece. A stop doesn't end it: its lines were read
  // before the stop, and what was read goes into the pieces.
  Outcome Wait();
  const std::string& Path() const { return writer_.Path(); }

 private:
  suite::FileWindow window_;
  suite::OutputFile writer_;
  Outcome outcome_ = Outcome::kWritten;
  suite::HelperThread helper_;  // last: its job uses the members above
};

}  // namespace cleavora
