#include "searcher/history/result_files_check.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "common/codepage.h"
#include "common/exclusive_file.h"
#include "common/path_util.h"
#include "common/tuning.h"
#include "searcher/history/result_descriptor.h"

namespace lorvane {
namespace {

using suite::Cp;

// How far back from a file's end its last record is looked for.
constexpr int64_t kLastRecordReach = int64_t{1} << 20;
constexpr size_t kTailBlock = 4096;
constexpr size_t kHeadBytes = 24;  // a record's number and more

// The number the record at `offset` starts with; -1 when it can't be read.
// `tail` holds the file's bytes from `tailAt` on, and serves when it can.
int64_t RecordNumberAt(suite::ExclusiveFile& file, int64_t offset, std::string_view tail, int64_t tailAt) {
  if (offset >= tailAt && offset - tailAt + static_cast<int64_t>(kHeadBytes) <= static_cast<int64_t>(tail.size())) {
    return RecordNumber(tail.substr(static_cast<size_t>(offset - tailAt), kHeadBytes));
  }
  std::array<char, kHeadBytes> head;
  const size_t got = file.ReadAt(head.data(), head.size(), offset);
  return RecordNumber(std::string_view(head.data(), got));
}

// Whether an open result file holds records `first` to `last`, whole: it
// ends in CR LF, and its first and last records have those numbers. The last
// record starts after the LF before the final one; when that lies more than
// the reach back, the record is taken as whole.
bool IsWhole(suite::ExclusiveFile& file, int64_t first, int64_t last) {
  const int64_t size = file.Size();
  std::array<char, kTailBlock> block;
  int64_t begin = std::max<int64_t>(0, size - static_cast<int64_t>(block.size()));
  size_t length = static_cast<size_t>(size - begin);
  if (size < 2 || file.ReadAt(block.data(), length, begin) != length || block[length - 2] != '\r' ||
      block[length - 1] != '\n') {
    return false;
  }
  const std::string_view tail(block.data(), length);
  const int64_t tailAt = begin;
  if (RecordNumberAt(file, 0, tail, tailAt) != first) return false;
  length -= 2;  // the final CR LF is not looked at
  for (;;) {
    for (size_t at = length; at > 0; --at) {
      if (block[at - 1] == '\n') {
        const int64_t start = begin + static_cast<int64_t>(at);
        return RecordNumberAt(file, start, begin == tailAt ? tail : std::string_view(), tailAt) == last;
      }
    }
    if (begin == 0) return RecordNumberAt(file, 0, {}, 0) == last;
    if (size - begin >= kLastRecordReach) return true;
    const int64_t end = begin;
    begin = std::max<int64_t>(0, end - static_cast<int64_t>(block.size()));
    length = static_cast<size_t>(end - begin);
    if (file.ReadAt(block.data(), length, begin) != length) return false;
  }
}

// "000003.txt 000004.txt", and " 等" when there are more than those named.
std::string NamesText(const std::vector<int64_t>& named, int64_t count) {
  std::string text;
  for (const int64_t number : named) {
    if (!text.empty()) text += ' ';
    text += ResultFileName(number);
  }
  if (count > static_cast<int64_t>(named.size())) text += Cp(" 等");
  return text;
}

}  // namespace

int64_t RecordNumber(std::string_view record) {
  const size_t bar = record.find('|');
  if (bar == 0 || bar == std::string_view::npos || bar > 18) return -1;
  int64_t number = 0;
  for (size_t i = 0; i < bar; ++i) {
    if (record[i] < '0' || record[i] > '9') return -1;
    number = number * 10 + (record[i] - '0');
  }
  return number;
}

ResultFilesFaults CheckResultFiles(const std::string& directory, int64_t results,
                                   const std::vector<int64_t>& present) {
  ResultFilesFaults faults;
  const int64_t per = suite::kResultFileRecords;
  const int64_t files = ResultFileCount(results);
  // Numbers from..to-1 are missing: counted, the first few named.
  const auto missing = [&](int64_t from, int64_t to) {
    faults.missingCount += to - from;
    for (int64_t n = from; n < to && faults.missing.size() < ResultFilesFaults::kNamed; ++n) faults.missing.push_back(n);
  };
  // The files are checked a batch at a time, the heads and tails of a whole
  // batch asked for first: read one by one from a cold disk they cost 0.2 s a
  // thousand files, asked for together a fraction of that.
  constexpr size_t kBatch = 128;
  std::vector<std::pair<int64_t, suite::ExclusiveFile>> batch(kBatch);
  const auto checkBatch = [&](size_t count) {
    for (size_t i = 0; i < count; ++i) {
      auto& [number, file] = batch[i];
      const int64_t first = number * per + 1;
      const int64_t last = std::min(results, first + per - 1);
      if (!file.IsOpen() || !IsWhole(file, first, last)) {
        ++faults.cutCount;
        if (faults.cut.size() < ResultFilesFaults::kNamed) faults.cut.push_back(number);
      }
      file.Close();
    }
  };
  int64_t expected = 0;
  size_t count = 0;
  for (const int64_t number : present) {
    if (number < expected) continue;
    if (number >= files) break;
    missing(expected, number);
    expected = number + 1;
    auto& [batched, file] = batch[count++];
    batched = number;
    if (file.OpenShared(directory + suite::kPathSeparator + ResultFileName(number))) {
      file.WillRead(0, kHeadBytes);
      file.WillRead(std::max<int64_t>(0, file.Size() - static_cast<int64_t>(kTailBlock)), kTailBlock);
    }
    if (count == kBatch) {
      checkBatch(count);
      count = 0;
    }
  }
  checkBatch(count);
  missing(expected, files);
  return faults;
}

std::string ResultFilesFaultsText(const ResultFilesFaults& faults) {
  std::string text;
  if (faults.missingCount > 0) {
    text += Cp("缺少 ") + std::to_string(faults.missingCount) + Cp(" 个搜索结果文件: ") +
            NamesText(faults.missing, faults.missingCount);
  }
  if (faults.cutCount > 0) {
    if (!text.empty()) text += "; ";
    text += std::to_string(faults.cutCount) + Cp(" 个搜索结果文件不完整: ") + NamesText(faults.cut, faults.cutCount);
  }
  return text;
}

}  // namespace lorvane
