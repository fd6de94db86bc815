#include "snippets/snipkeep_texts.h"

#include "common/codepage.h"

namespace snipkeep {

using suite::Cp;

std::string TitleWithList(const std::string& listName) {
  return std::string(kProgramTitle) + "   [" + listName + "]";
}

std::string DefaultListName() { return Cp("Snipkeep缺省列表文件"); }
std::string DefaultListFileName() { return DefaultListName() + kListExtension; }

std::string LoadMissingText(const std::string& path) { return Cp("载入失败! 因为文件 ") + path + Cp(" 不存在!"); }
std::string LoadOpenFailedText(const std::string& path) {
  return Cp("载入失败! 因为打开文件 ") + path + Cp(" 失败!");
}
std::string LoadSucceededText(const std::string& path) {
  return Cp("载入成功! 将文件 ") + path + Cp(" 内容应用到列表!");
}
std::string DefaultListCreatedText(const std::string& path) { return Cp("成功创建缺省列表文件 ") + path; }
std::string DefaultListCreateFailedText(const std::string& path) {
  return Cp("创建缺省列表文件 ") + path + Cp(" 失败!");
}
std::string ListChosenText(const std::string& fileName) { return Cp("载入成功! 文件 ") + fileName; }
std::string ChosenListMissingText(const std::string& fileName) {
  return Cp("载入失败! 因为 ") + fileName + Cp(" 文件不存在!");
}
std::string AutoLoadWriteFailedText(const std::string& path) {
  return Cp("注意! 因为创建配置文件 ") + path + Cp(" 失败!");
}

std::string DuplicateNameText() { return Cp("不能输入重名文件"); }
std::string CreateListFailedText(long errorCode) {
  return Cp("创建列表文件失败! (ERROR-CODE: ") + std::to_string(errorCode) + ")";
}
std::string DeleteQuestionText() { return Cp("您真的要删除该列表文件吗?"); }
std::string DeleteFailedText(long errorCode) {
  return Cp("删除文件失败。(ERROR-CODE: ") + std::to_string(errorCode) + ")";
}

std::string SingleLineLabel() { return Cp("[单行]"); }
std::string MultiLineLabel() { return Cp("[多行]"); }

std::string CopyButtonText(int button) {
  static const char* const kTexts[] = {
      "1.将[单行]框内容复制到剪贴板 (追加回车符)",
      "2.将[单行]框内容复制到剪贴板",
      "3.将[多行]框内容复制到剪贴板 (逐行追加回车符)",
      "4.将[多行]框内容复制到剪贴板",
  };
  return button >= 1 && button <= 4 ? Cp(kTexts[button - 1]) : std::string();
}

std::string FlagLabel(int flag) {
  static const char* const kTexts[] = {
      "0.点击[单行]条目，光标定位到[单行]框行尾",
      "1.点击[单行]条目即复制到剪贴板 (追加回车符)",
      "2.点击[单行]条目即复制到剪贴板",
      "3.点击[多行]条目即复制到剪贴板 (逐行追加回车符)",
      "4.点击[多行]条目即复制到剪贴板",
  };
  return flag >= 0 && flag <= 4 ? Cp(kTexts[flag]) : std::string();
}

std::string ChooseButtonText() { return Cp("选择文件"); }
std::string EditButtonText() { return Cp("编辑文件"); }
std::string RefreshButtonText() { return Cp("刷新列表"); }
std::string OpenDirectoryButtonText() { return Cp("打开目录"); }
std::string HelpButtonText() { return Cp("帮助信息"); }

std::string ChooserNoteText() { return Cp("操作: 鼠标左键双击欲载入的列表文件名"); }
std::string NewListButtonText() { return Cp("新建列表文件"); }
std::string DeleteListButtonText() { return Cp("删除列表文件"); }
std::string CloseChooserButtonText() { return Cp("关闭"); }

std::string NameDialogLabel() { return Cp("请输入新建文件名:"); }
std::string NameDialogOkText() { return Cp("确定"); }
std::string NameDialogCancelText() { return Cp("取消"); }
std::string NameDialogNoteText() { return Cp("文件名不能包括以下字符:") + "\n / : * ? \" < > |"; }

}  // namespace snipkeep
