#include "searcher/history/history_texts.h"

#include "common/codepage.h"

namespace lorvane {

using suite::Cp;
using suite::PathText;

std::string HistoryColumnTitles() { return Cp("搜索时间|结果行数|总行数|关键字|匹配|文件大小|目标文件名|存在性"); }

std::string TargetGoneText() { return Cp("已不存在"); }
std::string DamagedDescriptorText() { return Cp("描述文件已损坏"); }
std::string SearchRunningRowText() { return Cp("正在搜索"); }
std::string SearchRunningText(const std::string& directory) {
  return Cp("不能删除“") + suite::PathText(directory) + Cp("”: 该搜索正在进行，请等它结束后再删除。");
}

std::string DescriptorOpenFailedText(const std::string& path) {
  return Cp("打开 result.lvn 文件失败! FileName[") + PathText(path) + "]";
}

std::string DirectoryMissingText(const std::string& path) { return Cp("目录不存在: ") + PathText(path); }

std::string EmptyDirectoryRemovedText(const std::string& path) { return Cp("删除目录成功: ") + PathText(path); }

std::string SubdirectoryLeftText() { return Cp("删除目录失败! 因为该目录中含有子目录，请手工处理!"); }

std::string FileDeleteFailedText(int errorCode) {
  return Cp("删除文件失败。(ERROR-CODE: ") + std::to_string(errorCode) + ")";
}

std::string DirectoryRemoveFailedText(int errorCode, const std::string& path) {
  return Cp("删除目录失败，请手工处理该目录。(ERROR-CODE: ") + std::to_string(errorCode) + ") " + PathText(path);
}

std::string HistoryDeletedText(const std::string& path) { return Cp("成功删除搜索历史目录: ") + PathText(path); }

}  // namespace lorvane
