#include "snippets/copy_operation.h"

#include "common/codepage.h"

namespace snipkeep {
namespace {

struct CopyTexts {
  const char* empty;
  const char* done;
};

const CopyTexts& TextsOf(CopyOperation operation) {
  static const CopyTexts kTexts[] = {
      {"操作失败，因为[单行]框内容为空(追加回车符)。", "操作成功，将[单行]框内容复制到剪贴板(追加回车符)。"},
      {"操作失败，因为[单行]框内容为空。", "操作成功，将[单行]框内容复制到剪贴板。"},
      {"操作失败，因为[多行]框内容为空(逐行追加回车符)。", "操作成功，将[多行]框内容复制到剪贴板(逐行追加回车符)。"},
      {"操作失败，因为[多行]框内容为空。", "操作成功，将[多行]框内容复制到剪贴板。"},
  };
  return kTexts[static_cast<int>(operation) - 1];
}

std::string DoubleLineEnds(const std::string& text) {
  std::string doubled;
  doubled.reserve(text.size() * 2);
  size_t from = 0;
  for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2) {
    doubled.append(text, from, at - from);
    doubled += "\r\n\r\n";
  }
  doubled.append(text, from);
  return doubled;
}

}  // namespace

Box BoxOf(CopyOperation operation) {
  return operation == CopyOperation::SingleWithLineEnd || operation == CopyOperation::Single ? Box::SingleLine
                                                                                                 : Box::MultiLine;
}

std::string ClipboardText(CopyOperation operation, const std::string& boxText) {
  switch (operation) {
    case CopyOperation::SingleWithLineEnd: return boxText + "\r\n";
    case CopyOperation::MultiDoubled: return DoubleLineEnds(boxText);
    case CopyOperation::Single:
    case CopyOperation::Multi: break;
  }
  return boxText;
}

std::string CopyEmptyText(CopyOperation operation) { return suite::Cp(TextsOf(operation).empty); }
std::string CopyDoneText(CopyOperation operation) { return suite::Cp(TextsOf(operation).done); }

}  // namespace snipkeep
