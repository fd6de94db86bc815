#include "widgets/colour_label.h"

#include "widgets/dialog_colours.h"

namespace suite {

ColourLabel::ColourLabel(const QString& text, const QColor& colour, QWidget* parent) : QLabel(text, parent) {
  SetTextColour(colour);
}

void ColourLabel::SetTextColour(const QColor& colour) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Window, MenuColour());
  setPalette(palette);
}

}  // namespace suite
