#include "searcher/history/result_records.h"

#include <algorithm>

#include "common/exclusive_file.h"
#include "common/line_reader.h"
#include "common/path_util.h"
#include "common/tuning.h"
#include "searcher/history/result_descriptor.h"
#include "searcher/history/result_files_check.h"

namespace lorvane {

bool ForEachResultRecord(const std::string& directory, int64_t first, int64_t last,
                         const std::function<bool(std::string_view record)>& take) {
  const int64_t per = suite::kResultFileRecords;
  int64_t next = first;
  while (next <= last) {
    const int64_t fileNumber = (next - 1) / per;
    suite::ExclusiveFile file;
    if (!file.OpenShared(directory + suite::kPathSeparator + ResultFileName(fileNumber))) return false;
    suite::LineReader reader(file);
    suite::TextLine line;
    // The records before `next` in this file are passed over.
    for (int64_t number = fileNumber * per + 1; number < next; ++number) {
      if (!reader.Skip()) return false;
    }
    const int64_t fileLast = std::min(last, (fileNumber + 1) * per);
    for (; next <= fileLast; ++next) {
      if (!reader.Next(line) || RecordNumber(line.text) != next) return false;
      if (!take(line.text)) return true;
    }
  }
  return true;
}

}  // namespace lorvane
