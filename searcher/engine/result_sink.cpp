#include "searcher/engine/result_sink.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <new>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/path_util.h"
#include "common/staged_files.h"
#include "common/tuning.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/count_text.h"
#include "searcher/history/result_descriptor.h"

namespace lorvane {
namespace {

// Ten digits, zero-padded; wider numbers keep all their digits.
void AppendPadded(std::string& out, int64_t value) {
  char digits[24];
  if (value >= 0 && value <= 9999999999) {
    // Two digits a step: a record has two of these numbers.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    auto rest = static_cast<uint64_t>(value);
    for (int i = 8; i >= 0; i -= 2) {
      const auto pair = static_cast<size_t>(rest % 100) * 2;
      digits[i] = kPairs[pair];
      digits[i + 1] = kPairs[pair + 1];
      rest /= 100;
    }
    out.append(digits, 10);
  } else {
    const int length = std::snprintf(digits, sizeof digits, "%010" PRId64, value);
    out.append(digits, static_cast<size_t>(length));
  }
}

// "%010d|%010d| ": what comes before the line's text.
void AppendRecordPrefix(std::string& out, int64_t resultNumber, int64_t lineNumber) {
  AppendPadded(out, resultNumber);
  out += '|';
  AppendPadded(out, lineNumber);
  out += "| ";
}

}  // namespace

ResultSink::ResultSink(LorvaneWindow& window, const std::string& historyDirectory)
    : window_(window), historyDirectory_(historyDirectory), live_(true) {}

ResultSink::ResultSink(LorvaneWindow& window, const std::string& historyDirectory, ResultsSoFar soFar)
    : window_(window),
      historyDirectory_(historyDirectory),
      live_(false),
      soFar_(std::move(soFar)),
      fileNumber_(soFar_.results / suite::kResultFileRecords),
      results_(soFar_.results) {}

bool ResultSink::OnMatch(suite::LineNumber number, const FoundLine& line) {
  const int64_t lineNumber = number.value;
  if (!fileOpened_) {
    if (!OpenFile()) return false;
  } else if (results_ > 0 && results_ % suite::kResultFileRecords == 0) {
    if (!CloseFile()) return Fail(writeFailed);
    ++fileNumber_;
    if (!OpenFile()) return false;
  }
  record_.clear();
  AppendRecordPrefix(record_, results_ + 1, lineNumber);
  try {
    if (fileNumber_ > 0 || !live_) {  // written as it is, however long: nothing holds it
      if (!file_.Append(record_)) return Fail(writeFailed);
      if (!line.AppendTo(file_)) return line.WasCut() ? false : Fail(writeFailed);
      if (!file_.Append("\r\n")) return Fail(writeFailed);
      RecordWritten();
      return true;
    }
    // The live page holds its records.
    const size_t at = record_.size();
    record_.resize(at + line.Size() + 2);
    if (!line.CopyTo(record_.data() + at)) return false;
    record_[at + line.Size()] = '\r';
    record_[at + line.Size() + 1] = '\n';
    if (!file_.Append(record_)) return Fail(writeFailed);
    RecordWritten();
    window_.ListAppend(ListControl::Results, TabsAsBlanks(record_));
  } catch (const std::bad_alloc&) {  // a line of gigabytes the live page can't hold
    failedLine_ = lineNumber;
    return Fail(memoryFailed);
  }
  return true;
}

void ResultSink::OnCheckpoint(suite::LineNumber line) {
  window_.SetFormText(FormText::Results, FormatCountText(results_));
  window_.ProgressStep();
  window_.SetFormText(FormText::ReadLines, FormatReadLinesText(line.value));
  window_.RefreshForm();
}

bool ResultSink::Finish() {
  // A file whose last record was taken off is rewritten without it.
  if (!fileOpened_ && soFar_.lastTakenOff && failure_ == none) OpenFile();
  if (file_.IsOpen() && !CloseFile() && failure_ == none) Fail(writeFailed);
  return failure_ == none;
}

std::string ResultSink::FailureText() const {
  using suite::Cp;
  switch (failure_) {
    case createFailed: return Cp("不能创建搜索结果文件“") + suite::PathText(failedPath_) + Cp("”!");
    case writeFailed: return Cp("写入搜索结果文件“") + suite::PathText(failedPath_) + Cp("”失败! 磁盘可能已满。");
    case memoryFailed: return Cp("内存不足，不能保存第 ") + std::to_string(failedLine_) + Cp(" 行的搜索结果!");
    case none: break;
  }
  return std::string();
}

int64_t ResultSink::files() const {
  return ResultFileCount(results_);
}

bool ResultSink::OpenFile() {
  const std::string name = ResultFileName(fileNumber_);
  std::string path = historyDirectory_ + suite::kPathSeparator + name;
  if (!live_) path = suite::StagedPath(path);
  fileOpened_ = true;
  if (!file_.Create(path)) return Fail(createFailed);
  written_.push_back(path);
  if (live_) window_.ListAppend(ListControl::ResultFiles, name);
  // The first file a search going on writes holds the kept records first.
  if (!live_ && fileNumber_ == soFar_.results / suite::kResultFileRecords && !soFar_.keptFrom.empty() &&
      !CopyKeptRecords()) {
    return false;
  }
  return true;
}

// Copies the kept records, a mark after each, so that the file's record count
// holds them; false (a write failure) when they aren't all there whole.
bool ResultSink::CopyKeptRecords() {
  suite::ExclusiveFile kept;
  if (!kept.OpenShared(soFar_.keptFrom)) return Fail(writeFailed);
  std::vector<char> block(1 << 20);
  int64_t records = 0;
  for (int64_t at = 0; at < soFar_.keptBytes;) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(soFar_.keptBytes - at, static_cast<int64_t>(block.size())));
    if (kept.ReadAt(block.data(), want, at) != want) return Fail(writeFailed);
    size_t from = 0;
    while (from < want) {
      const void* lf = std::memchr(block.data() + from, '\n', want - from);
      const size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - block.data()) + 1 : want;
      if (!file_.Append(std::string_view(block.data() + from, end - from))) return Fail(writeFailed);
      if (lf) {
        file_.Mark();
        ++records;
      }
      from = end;
    }
    at += static_cast<int64_t>(want);
  }
  const int64_t expected = soFar_.results % suite::kResultFileRecords;
  return records == expected ? true : Fail(writeFailed);
}

// Closes the current file at its last whole record: a record half written
// when the target was cut under it, or when the disk filled, is cut off.
// False when records counted didn't all reach the file: those are taken off
// the count and the live page. A file left without any (its first record
// was cut off) is removed with its name. So files, lists and figures agree.
bool ResultSink::CloseFile() {
  const int64_t inFile = results_ - fileNumber_ * suite::kResultFileRecords;
  const int64_t kept = file_.CloseAtMark();
  const bool whole = kept == inFile && !file_.Failed();
  if (!whole && fileNumber_ == 0 && live_) {
    for (int64_t i = inFile - 1; i >= kept; --i) window_.ListDelete(ListControl::Results, i);
  }
  results_ -= inFile - kept;
  if (kept == 0) {
    std::remove(file_.Path().c_str());
    written_.pop_back();
    if (live_) window_.ListDelete(ListControl::ResultFiles, fileNumber_);
    if (fileNumber_ == 0) {
      fileOpened_ = false;
    } else {
      --fileNumber_;
    }
  }
  return whole;
}

void ResultSink::RecordWritten() {
  file_.Mark();
  ++results_;
}

bool ResultSink::Fail(Failure failure) {
  failure_ = failure;
  failedPath_ = file_.Path();
  return false;
}

std::string FormatResultRecord(int64_t resultNumber, int64_t lineNumber, std::string_view text) {
  std::string record;
  AppendRecordPrefix(record, resultNumber, lineNumber);
  record += text;
  record += "\r\n";
  return record;
}

std::string TabsAsBlanks(std::string_view text) {
  std::string shown;
  shown.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\t') {
      shown += "  ";
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace lorvane
