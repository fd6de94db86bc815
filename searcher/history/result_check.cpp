#include "searcher/history/result_check.h"

#include <cinttypes>
#include <cstdio>

#include "common/codepage.h"
#include "common/path_util.h"
#include "common/size_text.h"
#include "common/tuning.h"
#include "searcher/history/decimal_text.h"

namespace lorvane {

using suite::Cp;

bool CLVNResultCheck::CheckHeader() {
  if (!suite::PathExists(header_.historyDirectory)) {
    errorText_ = Cp("CLVNResultCheck: 搜索结果目录不存在! 目录[") + suite::PathText(header_.historyDirectory) + "]";
    return false;
  }
  if (!suite::PathExists(header_.targetPath)) {
    errorText_ = Cp("CLVNResultCheck: 目标文件不存在! 路径[") + suite::PathText(header_.targetPath) + "]";
    return false;
  }
  if (header_.keyword.empty()) {
    errorText_ = Cp("CLVNResultCheck: 关键字为空!");
    return false;
  }
  const int64_t total = ReadDecimal(header_.totalLines);
  if (total < 0) {
    errorText_ = Cp("CLVNResultCheck: 目标文件总行数非法! 总行数[") + header_.totalLines + "]";
    return false;
  }
  const int64_t results = ReadDecimal(header_.resultLines);
  if (results < 0 || results > total) {
    errorText_ = Cp("CLVNResultCheck: 搜索结果总行数非法! 总行数[") + header_.resultLines + "]";
    return false;
  }
  // A search of an empty target leaves no quick index entry at all.
  if (highestKey_ != suite::LastBlock(suite::LineCount{total})) {
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "[%" PRId64 "] != (%s[%" PRId64 "]-1)/%" PRId64, highestKey_.value,
                  Cp("总行数").c_str(), total, suite::kQuickIndexStride);
    errorText_ = Cp("CLVNResultCheck: 快速索引数不合理! 快速索引数") + numbers;
    return false;
  }
  return true;
}

bool CLVNResultCheck::CheckTargetSize() {
  const std::string now = suite::FileSizeText(header_.targetPath);
  if (now == header_.targetSize) return true;
  warningText_ = Cp("CLVNResultCheck: 文件大小与存储的不一致! 现大小[") + now + "]";
  return false;
}

}  // namespace lorvane
