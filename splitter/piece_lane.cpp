#include "splitter/piece_lane.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <unistd.h>

#include "common/exclusive_file.h"
#include "common/line_ends.h"

namespace cleavora {

PieceLane::PieceLane(const suite::ExclusiveFile& source, size_t bufferSize)
    : source_(source), writer_(bufferSize), readBuffer_(bufferSize) {}

bool PieceLane::Create(const std::string& path) {
  lastByte_ = '\n';
  outcome_ = Outcome::kWritten;
  return writer_.Create(path);
}

bool PieceLane::Append(const char* data, size_t size, bool loneLf) {
  if (size == 0) return !writer_.Failed();
  size_t spanStart = 0;
  if (loneLf) {  // else none is looked for: the bytes go as they are
    suite::LineEnds ends(data, size, 0);
    for (size_t lf = ends.Next(); lf < size; lf = ends.Next()) {
      const char before = lf > 0 ? data[lf - 1] : lastByte_;
      if (data[lf] != '\n' || before == '\r') continue;  // a 0x1A put there since is text here
      if (!writer_.Append(std::string_view(data + spanStart, lf - spanStart)) || !writer_.Append("\r\n")) return false;
      spanStart = lf + 1;
    }
  }
  lastByte_ = data[size - 1];
  return writer_.Append(std::string_view(data + spanStart, size - spanStart));
}

PieceLane::Outcome PieceLane::Finish(bool closeLine) {
  if (writer_.Failed() || (closeLine && !writer_.Append("\r\n"))) return outcome_ = Failed(Outcome::kWriteFailed);
  return outcome_ = writer_.Close() ? Outcome::kWritten : Outcome::kWriteFailed;
}

PieceLane::Outcome PieceLane::Failed(Outcome outcome) {
  // A write reads the mapped source itself, and finds it cut as EFAULT.
  if (outcome == Outcome::kWriteFailed && writer_.Error() == EFAULT) outcome = Outcome::kCut;
  writer_.Close();
  return outcome;
}

void PieceLane::Start(int64_t start, int64_t end, bool loneLf, bool closeLine) {
  if (!helper_) helper_ = std::make_unique<suite::HelperThread>();
  helper_->Start([this, start, end, loneLf, closeLine] { outcome_ = Copy(start, end, loneLf, closeLine); });
}

PieceLane::Outcome PieceLane::Wait() {
  if (helper_) helper_->Wait();
  return outcome_;
}

PieceLane::Outcome PieceLane::Copy(int64_t start, int64_t end, bool loneLf, bool closeLine) {
  for (int64_t offset = start; offset < end;) {
    const size_t size = std::min<size_t>(readBuffer_.size(), static_cast<size_t>(end - offset));
    const ssize_t got = ::pread(source_.Descriptor(), readBuffer_.get(), size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failed(Outcome::kReadFailed);
    // The end of the file: the lines were there when the split found them.
    if (got == 0) return Failed(Outcome::kCut);
    if (!Append(readBuffer_.get(), static_cast<size_t>(got), loneLf)) return Failed(Outcome::kWriteFailed);
    offset += got;
  }
  return Finish(closeLine);
}

}  // namespace cleavora
