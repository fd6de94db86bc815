#include "splitter/split.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/file_window.h"
#include "common/newline_count.h"
#include "common/output_file.h"
#include "common/path_util.h"
#include "common/stamped_directory.h"
#include "splitter/cleavora_texts.h"
#include "splitter/cleavora_window.h"
#include "splitter/split_state.h"

namespace cleavora {
namespace {

// Every end but a stop: the status text, the form, input back on.
int Finish(CleavoraWindow& window, const std::string& statusText, int result) {
  window.SetStatusText(statusText);
  window.ShowForm();
  window.EnableInput(true);
  return result;
}

// Where the split stands inside a window.
struct SplitPosition {
  size_t pos = 0;          // first byte of the window not yet looked at
  size_t spanStart = 0;    // first byte not yet handed to the piece
  bool lineOpen = false;   // bytes of the current line are in the piece already
  char lastByte = '\n';    // the last byte handed over or skipped, across windows
  int64_t linesInPiece = 0;
  int64_t totalLines = 0;
};

enum class PartEnd { kWindowDone, kPieceFull, kTextEnded, kStopped, kWriteFailed };

// Hands the lines of data[at.pos, size) to the piece: runs of lines that end
// in CR LF already are their piece bytes and go in one copy; an LF alone gets
// its CR. Ends when the window is done, the piece holds the window's lines
// per piece (read after every line: one number, nothing mapped), the text ends
// (0x1A) or a stop is asked for. Touches the window under the cut
// guard; OutputFile::Append copies before it counts, so a cut leaves the
// piece whole up to there.
PartEnd SplitPart(const char* data, size_t size, CleavoraWindow& window, const SplitState& state,
                  suite::OutputFile& writer, SplitPosition& at) {
  const auto handOver = [&](size_t upTo) {
    const bool written = writer.Append(std::string_view(data + at.spanStart, upTo - at.spanStart));
    at.spanStart = upTo;
    return written;
  };
  while (at.pos < size) {
    const void* found = std::memchr(data + at.pos, '\n', size - at.pos);
    const size_t lf = found ? static_cast<size_t>(static_cast<const char*>(found) - data) : size;
    // The text ends at a 0x1A; the line's bytes were just read, so this stays in the cache.
    if (const void* end = std::memchr(data + at.pos, suite::kEndOfText, lf - at.pos)) {
      const size_t eot = static_cast<size_t>(static_cast<const char*>(end) - data);
      if (!handOver(eot)) return PartEnd::kWriteFailed;
      at.lineOpen = at.lineOpen || eot > at.pos;
      at.pos = eot;
      return PartEnd::kTextEnded;
    }
    if (!found) {  // the line goes on in the next window
      if (!handOver(size)) return PartEnd::kWriteFailed;
      at.lineOpen = true;
      at.lastByte = data[size - 1];
      at.pos = size;
      return PartEnd::kWindowDone;
    }
    const char before = lf > at.pos ? data[lf - 1] : (at.lineOpen ? at.lastByte : '\n');
    if (before != '\r') {  // LF alone: the piece gets CR LF
      if (!handOver(lf) || !writer.Append("\r\n")) return PartEnd::kWriteFailed;
      at.spanStart = lf + 1;
    }
    at.pos = lf + 1;
    at.lastByte = '\n';
    at.lineOpen = false;
    ++at.linesInPiece;
    ++at.totalLines;
    if (state.StopRequested()) {
      handOver(at.pos);
      return PartEnd::kStopped;
    }
    if (at.linesInPiece >= window.LinesPerPiece()) return handOver(at.pos) ? PartEnd::kPieceFull : PartEnd::kWriteFailed;
  }
  return handOver(at.pos) ? PartEnd::kWindowDone : PartEnd::kWriteFailed;
}

}  // namespace

std::string PiecePath(const std::string& splitDirectory, int64_t piece) {
  char name[32];
  std::snprintf(name, sizeof name, "%09" PRId64 ".txt", piece);
  return splitDirectory + suite::kPathSeparator + name;
}

int RunSplit(CleavoraWindow& window, SplitState& state, size_t windowSize, size_t writeBufferSize) {
  if (state.StopRequested()) return -1;
  const std::string sourcePath = window.FilePath();
  if (!suite::PathExists(sourcePath)) return Finish(window, MissingSourceText(), -1);

  suite::ExclusiveFile sourceFile;
  if (!sourceFile.Open(sourcePath)) return Finish(window, OpenFailedText(sourcePath), -1);
  window.ShowStatusLine(SplitStartingText());

  // Neither failure is reported here: the first piece then can't be created.
  suite::MakeDirectory(state.WorkDirectory());
  const std::string splitDirectory = suite::MakeFreshStampedDirectory(state.WorkDirectory());
  state.SetLastSplitDirectory(splitDirectory);

  int64_t piece = 0;
  std::string piecePath = PiecePath(splitDirectory, piece);
  suite::OutputFile writer(writeBufferSize);
  if (!writer.Create(piecePath)) return Finish(window, CreateFailedText(piecePath), -1);

  // The source's lines in the text model of the suite's readers (LF or CR LF
  // ends a line, 0x1A ends the text, a last line without LF counts), found in
  // place in mapped windows of the source.
  suite::FileWindow source(sourceFile, windowSize);
  SplitPosition at;
  int64_t offset = 0;
  bool textEnded = false;
  while (!textEnded) {
    if (!source.Load(offset)) return Finish(window, ReadFailedText(sourcePath), -1);
    const char* data = source.Data();
    const size_t size = source.Size();
    if (size == 0) break;
    at.pos = at.spanStart = 0;
    for (;;) {
      PartEnd end = PartEnd::kWindowDone;
      if (!suite::ScanUnlessCut(data, size, [&] { end = SplitPart(data, size, window, state, writer, at); })) {
        return Finish(window, CutWhileReadText(sourcePath), -1);
      }
      if (end == PartEnd::kWriteFailed) {
        // A write reads the mapped source itself, and finds it cut as EFAULT.
        if (writer.Error() == EFAULT) return Finish(window, CutWhileReadText(sourcePath), -1);
        return Finish(window, WriteFailedText(piecePath), -1);
      }
      if (end == PartEnd::kStopped) return -1;
      if (end == PartEnd::kTextEnded) textEnded = true;
      if (end != PartEnd::kPieceFull) break;
      ++piece;
      window.SetStatusText(ProgressText(at.totalLines, piece));
      window.ShowForm();
      if (!writer.Close()) return Finish(window, WriteFailedText(piecePath), -1);
      piecePath = PiecePath(splitDirectory, piece);
      if (!writer.Create(piecePath)) return Finish(window, CreateFailedText(piecePath), -1);
      at.linesInPiece = 0;
    }
    if (source.ReachesEnd()) break;
    offset += static_cast<int64_t>(size);
  }
  if (at.lineOpen) {  // the last line, without LF
    if (!writer.Append("\r\n")) return Finish(window, WriteFailedText(piecePath), -1);
    ++at.totalLines;
  }
  sourceFile.Close();
  if (!writer.Close()) return Finish(window, WriteFailedText(piecePath), -1);
  if (state.StopRequested()) return -1;
  // The last piece counts even when it is empty.
  return Finish(window, SuccessText(at.totalLines, piece + 1), 0);
}

}  // namespace cleavora
