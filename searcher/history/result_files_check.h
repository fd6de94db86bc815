// Whether the result files a descriptor counts are there and whole. The
// search doesn't wait for its result files to reach the disk, so after a power
// loss a descriptor may count records that were lost: the restore says which
// files are missing or cut instead of showing a partial history as whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane {

// How many result files are missing and how many are cut, with the numbers
// of the first few of each (a crafted count may claim 10^9 missing files).
struct ResultFilesFaults {
  static constexpr size_t kNamed = 5;
  int64_t missingCount = 0;
  std::vector<int64_t> missing;
  int64_t cutCount = 0;
  std::vector<int64_t> cut;
  bool Any() const { return missingCount > 0 || cutCount > 0; }
};

// Checks result files 0 .. (results - 1) / 2000 of `directory`, given the
// numbers of those that are there (sorted, each once). A file is whole when it starts with
// the record numbered first in it, ends with CR LF, and its last record is the
// one numbered last in it. Reads two small pieces of each file; the last
// record is looked for at most 1 MiB back (a longer line is taken whole when
// the file ends with CR LF).
ResultFilesFaults CheckResultFiles(const std::string& directory, int64_t results, const std::vector<int64_t>& present);

// The reason text of a restore's warning: which files are missing or cut, the
// first few by name.
std::string ResultFilesFaultsText(const ResultFilesFaults& faults);

// The number a record ("%010d|%010d| text") starts with; -1 when it doesn't.
int64_t RecordNumber(std::string_view record);

}  // namespace lorvane
