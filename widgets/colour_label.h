// A label drawn in its own text colour on the system menu colour.
#pragma once

#include <QColor>
#include <QLabel>

namespace suite {

class ColourLabel : public QLabel {
  Q_OBJECT
 public:
  ColourLabel(const QString& text, const QColor& colour, QWidget* parent = nullptr);
  void SetTextColour(const QColor& colour);
};

}  // namespace suite
