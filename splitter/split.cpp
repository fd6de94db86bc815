#include "splitter/split.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/path_util.h"
#include "common/scan_pipeline.h"
#include "common/stamped_directory.h"
#include "common/window_lines.h"
#include "splitter/cleavora_texts.h"
#include "splitter/cleavora_window.h"
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

// The split's sink: takes the line ends of the source's windows in file
// order, cuts the pieces after the lines the window's lines per piece asks
// for (read after every line, so a change takes effect for the piece being
// filled), and hands piece k to lane k % lanes, so that up to that many are
// written at once. Lane 0 is this thread's: its pieces get their bytes here as
// the lines are taken; the other lanes' pieces are only counted here, their
// lanes read the bytes again on threads of their own. Pieces are taken back
// in piece order, so that each one's report (or failure) comes before
// anything said of a later one.
class SplitSink {
 public:
  SplitSink(CleavoraWindow& window, const SplitState& state, const suite::ExclusiveFile& source, int lanes,
            size_t writeBufferSize, std::string sourcePath, std::string splitDirectory, int64_t sourceSize)
      : window_(window), state_(state), sourcePath_(std::move(sourcePath)),
        splitDirectory_(std::move(splitDirectory)), sourceSize_(sourceSize) {
    for (int lane = 0; lane < lanes; ++lane) lanes_.push_back(std::make_unique<PieceLane>(source, writeBufferSize));
  }

  // Creates the first piece; false when the split ended (End()).
  bool Begin() { return OpenPiece(); }

  // Takes the window at `offset`; false when the split goes no further: the
  // text ended, or the split did (a failure or a stop).
  bool Take(const suite::WindowLines& lines, int64_t offset) {
    if (lines.readFailed) return Fail(lines.cut ? CutWhileReadText(sourcePath_) : ReadFailedText(sourcePath_));
    windowLoneLf_ = lines.loneLf || (lines.lfFirst && lastByte_ != '\r');
    pieceLoneLf_ = pieceLoneLf_ || windowLoneLf_;
    for (uint64_t lf = 1; lf <= lines.newlines; ++lf) {
      ++linesInPiece_;
      ++totalLines_;
      const bool stop = state_.StopRequested();
      if (!stop && linesInPiece_ < window_.LinesPerPiece()) {
        // This thread's piece is written as it goes: a failure ends the split
        // within a few hundred lines, not at the end of the window.
        if (lf % suite::kLfMarkEvery == 0 && !Stream(lines, offset, lines.marks[lf / suite::kLfMarkEvery - 1] + 1)) {
          return false;
        }
        continue;
      }
      size_t at = 0;
      if (!lines.FindLf(lf, at)) return Fail(CutWhileReadText(sourcePath_));
      if (!Stream(lines, offset, at + 1)) return false;
      const int64_t end = offset + static_cast<int64_t>(at) + 1;
      if (stop) return Stop(end);
      if (!NextPiece(end)) return false;
      pieceLoneLf_ = windowLoneLf_;
    }
    if (!Stream(lines, offset, lines.textSize)) return false;
    if (lines.textSize > 0) lastByte_ = lines.lastByte;
    textEnd_ = offset + static_cast<int64_t>(lines.textSize);
    if (lines.endOfText) return false;
    if (!lines.reachesEnd && lines.size > 0) return true;
    // The end of the file, before where it ended when the split began: no
    // window of a slot that saw it longer told (the slot's first load came
    // after the cut).
    if (textEnd_ < sourceSize_) return Fail(CutWhileReadText(sourcePath_));
    return false;
  }

  // After the last window taken, or a split that ended: the last piece (a
  // last line without LF gets its CR LF there), the reports still due, and
  // the split's result.
  int End() {
    if (result_) return *result_;
    const bool closeLine = lastByte_ != '\n';
    if (closeLine) ++totalLines_;
    Hand(textEnd_, closeLine);
    // The last piece is said in the success text, not in a report of its own.
    if (!SettleAllBut(1) || !Settle(false)) return *result_;
    if (state_.StopRequested()) return -1;
    // The last piece counts even when it is empty.
    std::string success = SuccessText(totalLines_, pieces_);
    if (!state_.BesideProgram()) success += PiecesWrittenToText(splitDirectory_);
    return Finish(window_, success, 0);
  }

 private:
  PieceLane& Lane(int64_t piece) { return *lanes_[static_cast<size_t>(piece % static_cast<int64_t>(lanes_.size()))]; }
  // The piece being filled is this thread's.
  bool Streamed() const { return (pieces_ - 1) % static_cast<int64_t>(lanes_.size()) == 0; }

  // Hands this thread's piece, when it is the one being filled, the window's
  // bytes from where it stands up to `upTo`.
  bool Stream(const suite::WindowLines& source, int64_t offset, size_t upTo) {
    if (!Streamed()) return true;
    const size_t from = static_cast<size_t>(streamedTo_ - offset);
    const char* data = source.window.Data() + from;
    bool written = true;
    if (!suite::ScanUnlessCut(data, upTo - from, [&] { written = lanes_[0]->Append(data, upTo - from, windowLoneLf_); })) {
      return Fail(CutWhileReadText(sourcePath_));
    }
    streamedTo_ = offset + static_cast<int64_t>(upTo);
    if (written) return true;
    // The piece's failure, after what became of the pieces before it.
    Hand(streamedTo_, false);
    SettleAllBut(0);
    return false;
  }

  // Hands the piece being filled over, its lines ending at `end` (with CR LF
  // after them when `closeLine`): this thread's is finished here, another
  // lane's is written on that lane.
  void Hand(int64_t end, bool closeLine) {
    if (Streamed()) {
      lanes_[0]->Finish(closeLine);
    } else {
      Lane(pieces_ - 1).Start(pieceStart_, end, pieceLoneLf_, closeLine);
    }
    handed_.push_back(totalLines_);
  }

  // Hands over the full piece ending at `end` and opens the next.
  bool NextPiece(int64_t end) {
    Hand(end, false);
    pieceStart_ = streamedTo_ = end;
    linesInPiece_ = 0;
    return OpenPiece();
  }

  // Creates the next piece on its lane, once the piece before on that lane is
  // taken back.
  bool OpenPiece() {
    if (!SettleAllBut(lanes_.size() - 1)) return false;
    const std::string path = PiecePath(splitDirectory_, pieces_);
    if (!Lane(pieces_).Create(path)) return Fail(CreateFailedText(path));
    ++pieces_;
    return true;
  }

  // Waits for the oldest piece handed over and not taken back, and takes it back.
  PieceLane::Outcome TakeBack() {
    handed_.pop_front();
    return Lane(taken_++).Wait();
  }

  // Takes back the oldest piece handed over: reports it (when `report`), or
  // ends the split with its failure.
  bool Settle(bool report = true) {
    const int64_t linesAfter = handed_.front();
    const std::string& path = Lane(taken_).Path();
    switch (TakeBack()) {
      case PieceLane::Outcome::kWritten:
        if (report) {
          window_.SetStatusText(ProgressText(linesAfter, taken_));
          window_.ShowForm();
        }
        return true;
      case PieceLane::Outcome::kCut:
        return Ended(CutWhileReadText(sourcePath_));
      case PieceLane::Outcome::kReadFailed:
        return Ended(ReadFailedText(sourcePath_));
      case PieceLane::Outcome::kWriteFailed:
        break;
    }
    return Ended(WriteFailedText(path));
  }

  // Settles the pieces handed over until `left` are left; false when one failed.
  bool SettleAllBut(size_t left) {
    while (handed_.size() > left) {
      if (!Settle()) return false;
    }
    return true;
  }

  bool Ended(const std::string& text) {
    // The pieces still on their lanes are waited for, and said nothing of.
    while (!handed_.empty()) TakeBack();
    result_ = Finish(window_, text, -1);
    return false;
  }

  // A failure of the split itself comes after what became of the pieces handed over before it.
  bool Fail(const std::string& text) { return SettleAllBut(0) && Ended(text); }

  // What was read before the stop goes into the pieces; the pieces full
  // before it are reported as ever, the one it cut short is not.
  bool Stop(int64_t end) {
    Hand(end, false);
    if (!SettleAllBut(1)) return false;
    TakeBack();
    result_ = -1;
    return false;
  }

  CleavoraWindow& window_;
  const SplitState& state_;
  const std::string sourcePath_;
  const std::string splitDirectory_;
  const int64_t sourceSize_;
  std::vector<std::unique_ptr<PieceLane>> lanes_;
  std::deque<int64_t> handed_;  // source lines up to the end of each piece handed over and not taken back
  int64_t pieces_ = 0;  // pieces created
  int64_t taken_ = 0;   // pieces taken back
  int64_t pieceStart_ = 0;
  int64_t streamedTo_ = 0;  // this thread's piece holds the source bytes up to here
  bool pieceLoneLf_ = false;  // the piece may hold an LF without CR
  bool windowLoneLf_ = false;  // the window taken last may hold one
  int64_t linesInPiece_ = 0;
  int64_t totalLines_ = 0;
  char lastByte_ = '\n';  // the text's last byte so far
  int64_t textEnd_ = 0;
  std::optional<int> result_;  // once the split ended early
};

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

  windowSize = std::max<size_t>(windowSize, 1);
  const int64_t sourceSize = sourceFile.Size();
  const int workers = suite::ScanWorkers();
  SplitSink sink(window, state, sourceFile, workers, writeBufferSize, sourcePath, splitDirectory, sourceSize);
  if (sink.Begin()) {
    // Counting a window's lines is quick beside writing them: as many
    // scanning workers as there are windows, up to the lanes' number.
    suite::RunOrderedScan(
        workers, sourceSize, suite::ByteOffset{0}, windowSize,
        [&](int) { return std::make_unique<suite::WindowLines>(sourceFile, windowSize); },
        [](suite::WindowLines& lines, suite::ByteOffset offset) { lines.Scan(offset.value, true); },
        [&](suite::WindowLines& lines, suite::ByteOffset offset) { return sink.Take(lines, offset.value); });
  }
  return sink.End();
}

}  // namespace cleavora
