#include "splitter/split.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "common/exclusive_file.h"
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

// The source read block by block into one buffer; the unfinished line at a
// block's end moves to the front, and the buffer doubles only for a line
// longer than half of it.
class SourceBuffer {
 public:
  SourceBuffer(suite::ExclusiveFile& file, size_t blockSize)
      : file_(file), blockSize_(std::max<size_t>(blockSize, 1)), buffer_(blockSize_) {}

  const char* Data() const { return buffer_.data(); }
  size_t End() const { return end_; }
  std::string_view View(size_t from, size_t to) const { return {buffer_.data() + from, to - from}; }
  // The end of the file, a 0x1A byte or a read error has been reached.
  bool TextEnded() const { return textEnded_; }
  bool Failed() const { return failed_; }

  // Drops the bytes before `keepFrom` and reads on after the rest.
  void Refill(size_t keepFrom) {
    std::memmove(buffer_.data(), buffer_.data() + keepFrom, end_ - keepFrom);
    end_ -= keepFrom;
    if (buffer_.size() - end_ < blockSize_ / 2 + 1) buffer_.resize(buffer_.size() * 2);
    const ssize_t got = file_.Read(buffer_.data() + end_, buffer_.size() - end_);
    if (got <= 0) {
      failed_ = got < 0;
      textEnded_ = true;
      return;
    }
    size_t length = static_cast<size_t>(got);
    if (const void* eot = std::memchr(buffer_.data() + end_, suite::kEndOfText, length)) {
      length = static_cast<size_t>(static_cast<const char*>(eot) - (buffer_.data() + end_));
      textEnded_ = true;
    }
    end_ += length;
  }

 private:
  suite::ExclusiveFile& file_;
  const size_t blockSize_;
  std::vector<char> buffer_;
  size_t end_ = 0;
  bool textEnded_ = false;
  bool failed_ = false;
};

}  // namespace

std::string PiecePath(const std::string& splitDirectory, int64_t piece) {
  char name[32];
  std::snprintf(name, sizeof name, "%09" PRId64 ".txt", piece);
  return splitDirectory + suite::kPathSeparator + name;
}

int RunSplit(CleavoraWindow& window, SplitState& state, size_t readBlockSize, size_t writeBufferSize) {
  if (state.StopRequested()) return -1;
  const std::string sourcePath = window.FilePath();
  if (!suite::PathExists(sourcePath)) return Finish(window, MissingSourceText(), -1);

  suite::ExclusiveFile source;
  if (!source.Open(sourcePath)) return Finish(window, OpenFailedText(sourcePath), -1);
  window.ShowStatusLine(SplitStartingText());

  // Neither failure is reported here: the first piece then can't be created.
  suite::MakeDirectory(state.WorkDirectory());
  const std::string splitDirectory = suite::MakeFreshStampedDirectory(state.WorkDirectory());
  state.SetLastSplitDirectory(splitDirectory);

  int64_t piece = 0;
  int64_t linesInPiece = 0;
  int64_t totalLines = 0;
  std::string piecePath = PiecePath(splitDirectory, piece);
  suite::OutputFile writer(writeBufferSize);
  if (!writer.Create(piecePath)) return Finish(window, CreateFailedText(piecePath), -1);

  // The source's lines in the text model of the suite's readers (LF or CR LF
  // ends a line, 0x1A ends the text, a last line without LF counts), found in
  // place in the read buffer. Lines that end in CR LF already are their piece
  // bytes, so a run of them goes to the piece in one copy, not line by line.
  SourceBuffer text(source, readBlockSize);
  size_t lineStart = 0;  // of the line being looked for
  size_t spanStart = 0;  // first byte not yet handed to the piece
  size_t scanned = 0;    // bytes after lineStart known to hold no LF
  const auto handOver = [&](size_t upTo) {
    const bool written = writer.Append(text.View(spanStart, upTo));
    spanStart = upTo;
    return written;
  };
  for (;;) {
    const char* data = text.Data();
    const size_t end = text.End();
    size_t nextLine;
    if (const void* found = std::memchr(data + lineStart + scanned, '\n', end - lineStart - scanned)) {
      const size_t lf = static_cast<size_t>(static_cast<const char*>(found) - data);
      nextLine = lf + 1;
      scanned = 0;
      if (lf == lineStart || data[lf - 1] != '\r') {  // LF alone: the piece gets CR LF
        if (!handOver(lf) || !writer.Append("\r\n")) return Finish(window, WriteFailedText(piecePath), -1);
        spanStart = nextLine;
      }
    } else if (!text.TextEnded()) {
      // The complete lines go first: refilling moves the unfinished one.
      if (!handOver(lineStart)) return Finish(window, WriteFailedText(piecePath), -1);
      scanned = end - lineStart;
      text.Refill(lineStart);
      lineStart = spanStart = 0;
      continue;
    } else if (lineStart < end && !text.Failed()) {  // the last line, without LF
      if (!handOver(end) || !writer.Append("\r\n")) return Finish(window, WriteFailedText(piecePath), -1);
      nextLine = end;
      scanned = 0;
    } else {
      break;
    }
    lineStart = nextLine;
    ++linesInPiece;
    ++totalLines;
    if (state.StopRequested()) {
      handOver(lineStart);
      return -1;
    }
    if (linesInPiece < window.LinesPerPiece()) continue;

    if (!handOver(lineStart)) return Finish(window, WriteFailedText(piecePath), -1);
    ++piece;
    window.SetStatusText(ProgressText(totalLines, piece));
    window.ShowForm();
    if (!writer.Close()) return Finish(window, WriteFailedText(piecePath), -1);
    piecePath = PiecePath(splitDirectory, piece);
    if (!writer.Create(piecePath)) return Finish(window, CreateFailedText(piecePath), -1);
    linesInPiece = 0;
  }
  if (text.Failed()) return Finish(window, ReadFailedText(sourcePath), -1);
  source.Close();
  if (!writer.Close()) return Finish(window, WriteFailedText(piecePath), -1);
  if (state.StopRequested()) return -1;
  // The last piece counts even when it is empty.
  return Finish(window, SuccessText(totalLines, piece + 1), 0);
}

}  // namespace cleavora
