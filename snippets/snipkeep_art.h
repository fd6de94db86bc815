// The snippet tool's pictures, drawn rather than shipped: its program icon
// and the icons of its icon buttons.
#pragma once

#include <QIcon>

class QWidget;

namespace snipkeep {

enum class ButtonArt {
  Choose,         // a list with a pointer
  Edit,           // a pencil over a sheet
  Refresh,        // a circular arrow
  OpenDirectory,  // an open folder
  Help,           // a question mark
  NewList,        // a sheet with a plus
  DeleteList,     // a sheet with a cross
  Close,          // a cross
};

QIcon SnipkeepIcon();
QIcon ButtonIcon(ButtonArt art);

// The look of the tool's three windows: its icon, a CJK font at 9 pt and the
// dialog colours (text in RGB(100, 150, 100) on the menu colour).
void ApplySnipkeepLook(QWidget* window);

}  // namespace snipkeep
