#include "evacuator/tuckaway_texts.h"

#include "common/codepage.h"

namespace tuckaway {

std::string TitleText() { return suite::Cp("Tuckaway v0.1  (2004.12.03)"); }
std::string SourceLabelText() { return suite::Cp("将此目录下的所有文件移入临时目录中:"); }
std::string TargetLabelText() { return suite::Cp("移入目录:"); }
std::string RefreshButtonText() { return suite::Cp("刷新目录"); }
std::string MoveButtonToolTip() { return suite::Cp("移动文件"); }
std::string OpenFolderButtonText() { return suite::Cp("打开目录"); }
std::string NoteText() {
  return suite::Cp("说明: 点击[移动文件]按钮之后，“蓝色”表示成功移动，“红色”表示移动失败。");
}

}  // namespace tuckaway
