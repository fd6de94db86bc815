#include "widgets/dialog_colours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace suite {

QColor MenuColour() { return QApplication::palette().color(QPalette::Window); }

void ApplyDialogColours(QWidget* dialog, const QColor& text) {
  QPalette palette = dialog->palette();
  palette.setColor(QPalette::Window, MenuColour());
  palette.setColor(QPalette::WindowText, text);
  dialog->setPalette(palette);
  dialog->setAutoFillBackground(true);
}

}  // namespace suite
