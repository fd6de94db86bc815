#include "widgets/hand_button.h"

#include "widgets/program_art.h"

namespace suite {

HandButton::HandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setCursor(HandCursor());
  setAutoDefault(false);
}

IconButton::IconButton(const QIcon& icon, const QString& toolTip, QWidget* parent) : QToolButton(parent) {
  setIcon(icon);
  setToolTip(toolTip);
  setAutoRaise(true);
  setCursor(HandCursor());
}

}  // namespace suite
