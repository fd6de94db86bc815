// The buttons of the programs' message boxes, in Chinese.
#pragma once

class QMessageBox;

namespace suite {

// Gives each standard button the box has (OK, Cancel, Yes, No) its Chinese
// text, so a box speaks Chinese even where Qt's own translations are missing.
void UseChineseButtonTexts(QMessageBox& box);

}  // namespace suite
