#include "splitter/split.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "common/cut_guard.h"
#include "common/tuning.h"
#include "common/exclusive_file.h"
#include "common/file_window.h"
#include "common/helper_thread.h"
#include "common/scan_pipeline.h"
#include "common/newline_count.h"
#include "common/output_file.h"
#include "common/path_util.h"
#include "common/stamped_directory.h"
#include "splitter/cleavora_texts.h"
#include "splitter/cleavora_window.h"
#include "common/line_ends.h"
#include "splitter/piece_lane.h"
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
  bool loneLfInPiece = false;  // a line of the piece ends in an LF without CR
  int64_t linesInPiece = 0;
  int64_t totalLines = 0;
};

enum class PartEnd { kWindowDone, kPieceFull, kTextEnded, kStopped, kWriteFailed };

// Hands the lines of data[at.pos, size) to the piece: runs of lines that end
// in CR LF already are their piece bytes and go in one copy; an LF alone gets
// its CR. Without a writer the lines are only counted: the piece lane writes
// them afterwards. Ends when the window is done, the piece holds the window's lines
// per piece (read after every line: one number, nothing mapped), the text ends
// (0x1A) or a stop is asked for. Touches the window under the cut
// guard; OutputFile::Append copies before it counts, so a cut leaves the
// piece whole up to there.
PartEnd SplitPart(const char* data, size_t size, CleavoraWindow& window, const SplitState& state,
                  suite::OutputFile* writer, SplitPosition& at) {
  const auto handOver = [&](size_t upTo) {
    const bool written = !writer || writer->Append(std::string_view(data + at.spanStart, upTo - at.spanStart));
    at.spanStart = upTo;
    return written;
  };
  suite::LineEnds ends(data, size, at.pos);
  while (at.pos < size) {
    const size_t lf = ends.Next();  // or a 0x1A, or the window's end
    // The text ends at a 0x1A.
    if (lf < size && data[lf] == suite::kEndOfText) {
      if (!handOver(lf)) return PartEnd::kWriteFailed;
      at.lineOpen = at.lineOpen || lf > at.pos;
      at.pos = lf;
      return PartEnd::kTextEnded;
    }
    if (lf == size) {  // the line goes on in the next window
      if (!handOver(size)) return PartEnd::kWriteFailed;
      at.lineOpen = true;
      at.lastByte = data[size - 1];
      at.pos = size;
      return PartEnd::kWindowDone;
    }
    const char before = lf > at.pos ? data[lf - 1] : (at.lineOpen ? at.lastByte : '\n');
    if (before != '\r') {  // LF alone: the piece gets CR LF
      at.loneLfInPiece = true;
      if (!handOver(lf) || (writer && !writer->Append("\r\n"))) return PartEnd::kWriteFailed;
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

  // On two cores a piece that follows a big one is written by the lane: this
  // thread only counts its lines, hands it over and goes on with the next
  // piece, which it writes itself meanwhile. Small pieces aren't worth a
  // hand-over each.
  std::unique_ptr<PieceLane> lane;
  if (sourceFile.Size() > 2 * static_cast<int64_t>(windowSize) && suite::ScanWorkers() > 1) {
    lane = std::make_unique<PieceLane>(sourceFile, windowSize, writeBufferSize);
  }
  const int64_t handOverBytes = std::max<int64_t>(1, static_cast<int64_t>(windowSize / suite::kLaneHandOverShare));
  // The piece on the lane: reported once it is written, in piece order.
  struct Handed {
    bool active = false;
    int64_t linesAfter = 0;
    int64_t piecesAfter = 0;
  } handed;
  // What became of a piece of the lane's: nothing to say when it was
  // written, else the end of the split.
  const auto laneEnd = [&](PieceLane::Outcome outcome) -> std::optional<int> {
    switch (outcome) {
      case PieceLane::Outcome::kWritten:
        return std::nullopt;
      case PieceLane::Outcome::kCut:
        return Finish(window, CutWhileReadText(sourcePath), -1);
      case PieceLane::Outcome::kReadFailed:
        return Finish(window, ReadFailedText(sourcePath), -1);
      case PieceLane::Outcome::kWriteFailed:
        break;
    }
    return Finish(window, WriteFailedText(lane->Path()), -1);
  };
  // Waits for the lane's piece and reports it.
  const auto settle = [&]() -> std::optional<int> {
    if (!handed.active) return std::nullopt;
    handed.active = false;
    if (const std::optional<int> ended = laneEnd(lane->Wait())) return ended;
    window.SetStatusText(ProgressText(handed.linesAfter, handed.piecesAfter));
    window.ShowForm();
    return std::nullopt;
  };
  // A failure here comes after whatever became of the lane's earlier piece.
  const auto fail = [&](const std::string& text) {
    if (const std::optional<int> ended = settle()) return *ended;
    return Finish(window, text, -1);
  };

  int64_t piece = 0;
  std::string piecePath = PiecePath(splitDirectory, piece);
  suite::OutputFile writer(writeBufferSize);
  if (!writer.Create(piecePath)) return Finish(window, CreateFailedText(piecePath), -1);
  bool onLane = false;     // the current piece is the lane's
  int64_t pieceStart = 0;  // where its lines start in the source

  // The source's lines in the text model of the suite's readers (LF or CR LF
  // ends a line, 0x1A ends the text, a last line without LF counts), found in
  // place in mapped windows of the source.
  suite::FileWindow source(sourceFile, windowSize);
  SplitPosition at;
  int64_t offset = 0;
  int64_t reached = 0;  // the source offset the lines have been taken up to
  bool textEnded = false;
  while (!textEnded) {
    if (!source.Load(offset)) return fail(source.WasCut() ? CutWhileReadText(sourcePath) : ReadFailedText(sourcePath));
    const char* data = source.Data();
    const size_t size = source.Size();
    if (size == 0) break;
    at.pos = at.spanStart = 0;
    for (;;) {
      PartEnd end = PartEnd::kWindowDone;
      suite::OutputFile* const pieceWriter = onLane ? nullptr : &writer;
      if (!suite::ScanUnlessCut(data, size, [&] { end = SplitPart(data, size, window, state, pieceWriter, at); })) {
        return fail(CutWhileReadText(sourcePath));
      }
      reached = offset + static_cast<int64_t>(at.pos);
      if (end == PartEnd::kWriteFailed) {
        // A write reads the mapped source itself, and finds it cut as EFAULT.
        if (writer.Error() == EFAULT) return fail(CutWhileReadText(sourcePath));
        return fail(WriteFailedText(piecePath));
      }
      if (end == PartEnd::kStopped) {
        // What was read before the stop is in the pieces (the lane's too,
        // which is finished); nothing more is said.
        if (onLane) lane->Write(pieceStart, reached, at.loneLfInPiece, false);
        if (handed.active) lane->Wait();
        return -1;
      }
      if (end == PartEnd::kTextEnded) textEnded = true;
      if (end != PartEnd::kPieceFull) break;
      ++piece;
      if (onLane) {
        lane->Start(pieceStart, reached, at.loneLfInPiece, false);
        handed = {true, at.totalLines, piece};
      } else {
        if (const std::optional<int> ended = settle()) return *ended;
        window.SetStatusText(ProgressText(at.totalLines, piece));
        window.ShowForm();
        if (!writer.Close()) return Finish(window, WriteFailedText(piecePath), -1);
      }
      onLane = lane && !onLane && reached - pieceStart >= handOverBytes;
      pieceStart = reached;
      piecePath = PiecePath(splitDirectory, piece);
      if (!(onLane ? lane->Create(piecePath) : writer.Create(piecePath))) return fail(CreateFailedText(piecePath));
      at.linesInPiece = 0;
      at.loneLfInPiece = false;
    }
    if (source.ReachesEnd()) break;
    offset += static_cast<int64_t>(size);
  }
  const bool closeLine = at.lineOpen;  // the last line, without LF
  if (closeLine) ++at.totalLines;
  if (onLane) {
    // Nothing else is left to do meanwhile: the last piece is written here.
    if (const std::optional<int> ended = laneEnd(lane->Write(pieceStart, reached, at.loneLfInPiece, closeLine))) {
      return *ended;
    }
  } else {
    if (closeLine && !writer.Append("\r\n")) return fail(WriteFailedText(piecePath));
    if (const std::optional<int> ended = settle()) return *ended;
    if (!writer.Close()) return Finish(window, WriteFailedText(piecePath), -1);
  }
  sourceFile.Close();
  if (state.StopRequested()) return -1;
  // The last piece counts even when it is empty.
  std::string success = SuccessText(at.totalLines, piece + 1);
  if (!state.BesideProgram()) success += PiecesWrittenToText(splitDirectory);
  return Finish(window, success, 0);
}

}  // namespace cleavora
