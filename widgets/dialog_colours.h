// The dialog colours: the system menu colour behind, a program's text colour.
#pragma once

#include <QColor>

class QWidget;

namespace suite {

QColor MenuColour();

// Background of the system menu colour and the given text colour for a dialog
// and what it holds; edits keep their own base colour.
void ApplyDialogColours(QWidget* dialog, const QColor& text);

}  // namespace suite
