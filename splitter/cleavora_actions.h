// The main dialog's user actions, all on the window's thread.
#pragma once

#include <string>
#include <vector>

namespace suite {
class DesktopShell;
}

namespace cleavora {

class CleavoraWindow;
class SplitState;

// Before the dialog first shows: the fields, the last accepted piece size and
// the title. (Icons and cursors are the dialog's own.)
void OnInitDialog(CleavoraWindow& window, SplitState& state);

// "选择文件": a file-open chooser in the program directory.
void OnBtnChooseFile(CleavoraWindow& window, const SplitState& state);

// "开始分割": takes the path field, disables input and starts the worker.
void OnBtnStartSplit(CleavoraWindow& window);

// "打开目录": the last split directory, or the program directory.
void OnBtnOpenDirectory(suite::DesktopShell& shell, SplitState& state);

// "使用新参数": reads the form and takes the piece size when it lies in range,
// otherwise restores the last accepted one. Also allowed while a split runs.
void OnBtnApply(CleavoraWindow& window, SplitState& state);

// Files dropped on the dialog: the first one becomes the file path, unless a
// split runs.
void OnDropFiles(CleavoraWindow& window, const std::vector<std::string>& paths);

}  // namespace cleavora
