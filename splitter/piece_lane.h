// One writer of pieces: the only place where a piece gets its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "common/aligned_block.h"
#include "common/helper_thread.h"
#include "common/output_file.h"

namespace suite {
class ExclusiveFile;
}

namespace cleavora {

// Writing a piece is mostly the kernel's copy into fresh page-cache memory,
// the split's main cost. A lane writes one piece at a time: either as the
// split hands it the lines it reads (Append), or, once the split knows where
// a piece's lines lie, on its own thread (Start) while the split goes on;
// several lanes copy at once. The caller creates each piece and waits for it
// before the next. The thread is made by the first Start.
class PieceLane {
 public:
  enum class Outcome { kWritten, kCut, kReadFailed, kWriteFailed };

  PieceLane(const suite::ExclusiveFile& source, size_t bufferSize);

  // Creates (or truncates) the piece file; false when it can't be.
  bool Create(const std::string& path);

  // Appends bytes of whole or partial lines in the split's text model (no
  // 0x1A among them), following those appended before: a CR goes before
  // every LF alone (looked for only when `loneLf`: else they go as they are).
  // Reads `data` only: a mapped source is read under the caller's cut guard.
  // False once a write failed.
  bool Append(const char* data, size_t size, bool loneLf);
  // Closes the piece, after CR LF when `closeLine` (a last line without LF):
  // it came to `outcome` unless a write failed.
  Outcome Finish(bool closeLine, Outcome outcome = Outcome::kWritten);

  // Appends source bytes [start, end) and finishes the piece, on the lane's
  // thread. The bytes are read through a buffer of the write buffer's size,
  // not mapped: the split's own windows are all the source it maps.
  void Start(int64_t start, int64_t end, bool loneLf, bool closeLine);
  // Waits for the piece started or finished last. A stop doesn't end it: its
  // lines were read before the stop, and what was read goes into the pieces.
  Outcome Wait();
  const std::string& Path() const { return writer_.Path(); }

 private:
  const suite::ExclusiveFile& source_;
  suite::OutputFile writer_;
  suite::AlignedBlock readBuffer_;  // for Start's reads only
  char lastByte_ = '\n';  // the last byte appended: pieces start with a line
  Outcome outcome_ = Outcome::kWritten;
  std::unique_ptr<suite::HelperThread> helper_;  // last: its job uses the members above
};

}  // namespace cleavora
