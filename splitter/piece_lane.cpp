#include "splitter/piece_lane.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "common/exclusive_file.h"

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
  // Else none is looked for: the bytes go as they are.
  for (const char* lf = loneLf ? static_cast<const char*>(std::memchr(data, '\n', size)) : nullptr; lf;
       lf = static_cast<const char*>(std::memchr(lf + 1, '\n', size - static_cast<size_t>(lf + 1 - data)))) {
    const auto at = static_cast<size_t>(lf - data);
    if ((at > 0 ? data[at - 1] : lastByte_) == '\r') continue;
    if (!writer_.Append(std::string_view(data + spanStart, at - spanStart)) || !writer_.Append("\r\n")) return false;
    spanStart = at + 1;
  }
  lastByte_ = data[size - 1];
  return writer_.Append(std::string_view(data + spanStart, size - spanStart));
}

PieceLane::Outcome PieceLane::Finish(bool closeLine, Outcome outcome) {
  if (closeLine) writer_.Append("\r\n");  // a failure shows at the close
  // A write reads the mapped source itself, and finds it cut as EFAULT.
  if (!writer_.Close() && outcome == Outcome::kWritten) {
    outcome = writer_.Error() == EFAULT ? Outcome::kCut : Outcome::kWriteFailed;
  }
  return outcome_ = outcome;
}

void PieceLane::Start(int64_t start, int64_t end, bool loneLf, bool closeLine) {
  if (!helper_) helper_ = std::make_unique<suite::HelperThread>();
  helper_->Start([this, start, end, loneLf, closeLine] {
    for (int64_t offset = start; offset < end;) {
      // Reads of the write's size go out from the buffer they were read into.
      const size_t size = std::min<size_t>(writer_.Room(), static_cast<size_t>(end - offset));
      int error = 0;
      const size_t got = source_.ReadAt(readBuffer_.get(), size, offset, &error);
      // Nothing read: the file ends before lines the split found there.
      if (got == 0) {
        Finish(false, error != 0 ? Outcome::kReadFailed : Outcome::kCut);
        return;
      }
      if (!Append(readBuffer_.get(), got, loneLf)) break;
      offset += static_cast<int64_t>(got);
    }
    Finish(closeLine);
  });
}

PieceLane::Outcome PieceLane::Wait() {
  if (helper_) helper_->Wait();
  return outcome_;
}

}  // namespace cleavora
