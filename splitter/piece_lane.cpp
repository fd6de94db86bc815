#include "splitter/piece_lane.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "common/cut_guard.h"
#include "common/exclusive_file.h"
#include "common/line_ends.h"

namespace cleavora {

PieceLane::PieceLane(const suite::ExclusiveFile& source, size_t windowSize, size_t writeBufferSize)
    : window_(source, windowSize), writer_(writeBufferSize) {}

bool PieceLane::Create(const std::string& path) { return writer_.Create(path); }

void PieceLane::Start(int64_t start, int64_t end, bool loneLf, bool closeLine) {
  helper_.Start([this, start, end, loneLf, closeLine] { outcome_ = Write(start, end, loneLf, closeLine); });
}

PieceLane::Outcome PieceLane::Wait() {
  helper_.Wait();
  return outcome_;
}

PieceLane::Outcome PieceLane::Write(int64_t start, int64_t end, bool loneLf, bool closeLine) {
  const auto failedWrite = [&] {
    // A write reads the mapped source itself, and finds it cut as EFAULT.
    const Outcome outcome = writer_.Error() == EFAULT ? Outcome::kCut : Outcome::kWriteFailed;
    writer_.Close();
    return outcome;
  };
  char lastByte = '\n';  // the bytes start a line
  for (int64_t offset = start; offset < end;) {
    if (!window_.Load(offset)) {
      writer_.Close();
      return window_.WasCut() ? Outcome::kCut : Outcome::kReadFailed;
    }
    const size_t size = std::min<size_t>(window_.Size(), static_cast<size_t>(end - offset));
    if (size == 0) {  // the lines were there when the split found them
      writer_.Close();
      return Outcome::kCut;
    }
    const char* data = window_.Data();
    bool written = true;
    const bool read = suite::ScanUnlessCut(data, size, [&] {
      size_t spanStart = 0;
      if (loneLf) {  // else none is looked for: the bytes go as they are
        suite::LineEnds ends(data, size, 0);
        for (size_t lf = ends.Next(); lf < size && written; lf = ends.Next()) {
          const char before = lf > 0 ? data[lf - 1] : lastByte;
          if (data[lf] != '\n' || before == '\r') continue;  // a 0x1A put there since is text here
          written = writer_.Append(std::string_view(data + spanStart, lf - spanStart)) && writer_.Append("\r\n");
          spanStart = lf + 1;
        }
      }
      if (written) written = writer_.Append(std::string_view(data + spanStart, size - spanStart));
      lastByte = data[size - 1];
    });
    if (!read) {
      writer_.Close();
      return Outcome::kCut;
    }
    if (!written) return failedWrite();
    offset += static_cast<int64_t>(size);
  }
  if (closeLine && !writer_.Append("\r\n")) return failedWrite();
  return writer_.Close() ? Outcome::kWritten : Outcome::kWriteFailed;
}

}  // namespace cleavora
