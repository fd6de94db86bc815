#include "splitter/cleavora_texts.h"

#include <cinttypes>
#include <cstdio>

#include "common/codepage.h"
#include "splitter/piece_size.h"

namespace cleavora {
namespace {

using suite::Cp;

// Formats a UTF-8 pattern with 64-bit numbers, then converts it to the code page.
template <typename... Numbers>
std::string Format(const char* utf8Pattern, Numbers... numbers) {
  char text[256];
  std::snprintf(text, sizeof text, utf8Pattern, static_cast<int64_t>(numbers)...);
  return Cp(text);
}

}  // namespace

std::string FormatWindowTitle(int64_t linesPerPiece) {
  return Cp("Cleavora v0.1 基于行的文本文件分割器 ") + Format("  [按 %" PRId64 " 行分割]", linesPerPiece);
}

std::string MissingSourceText() { return Cp("分割失败，目标文件不存在！"); }

std::string OpenFailedText(const std::string& sourcePath) {
  return Cp("打开“") + suite::PathText(sourcePath) + Cp("”文件失败!") + "\n" + Cp("可能由于其它程序正在对该文件写入。");
}

std::string SplitStartingText() { return Cp("开始分割......"); }

std::string CreateFailedText(const std::string& piecePath) {
  return Cp("创建“") + suite::PathText(piecePath) + Cp("”文件失败!");
}

std::string ReadFailedText(const std::string& sourcePath) {
  return Cp("读取“") + suite::PathText(sourcePath) + Cp("”文件失败!") + "\n" + Cp("分割未完成。");
}

std::string CutWhileReadText(const std::string& sourcePath) {
  return Cp("“") + suite::PathText(sourcePath) + Cp("”文件在读取时被截短!") + "\n" + Cp("分割未完成。");
}

std::string WriteFailedText(const std::string& piecePath) {
  return Cp("写入“") + suite::PathText(piecePath) + Cp("”文件失败!") + "\n" + Cp("可能由于磁盘空间不足，分割未完成。");
}

std::string ProgressText(int64_t linesDone, int64_t piecesDone) {
  return Format("正在分割: 已将前 %" PRId64 " 行分割成 %" PRId64 " 个小文件", linesDone, piecesDone);
}

std::string SuccessText(int64_t lines, int64_t pieces) {
  return Format("分割成功: 将 %" PRId64 " 行分割成 %" PRId64 " 个小文件", lines, pieces);
}

std::string PiecesPlaceText(const std::string& workDirectory) {
  return Cp("分割出的小文件将存放在“") + suite::PathText(workDirectory) + Cp("”中。");
}

std::string PiecesWrittenToText(const std::string& splitDirectory) {
  return Cp("，存放在“") + suite::PathText(splitDirectory) + Cp("”中");
}

std::string PieceSizeRejectedText(int64_t restoredLines) {
  return Format("新参数设置失败! 恢复原值，将每 %" PRId64 " 行分割成一个小文件。", restoredLines);
}

std::string PieceSizeAcceptedText(int64_t lines) {
  return Format("新参数设置成功! 将每 %" PRId64 " 行分割成一个小文件。", lines);
}

std::string NotAnIntegerText() { return Cp("请输入一个整数。"); }

std::string PieceSizeOutOfRangeText() {
  return Format("请输入一个介于 %" PRId64 " 和 %" PRId64 " 之间的整数。", kMinLinesPerPiece, kMaxLinesPerPiece);
}

}  // namespace cleavora
