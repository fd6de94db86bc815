#include "widgets/blank_caption.h"

#include <QString>
#include <QWidget>

namespace suite {

void SetBlankCaption(QWidget& window) { window.setWindowTitle(QStringLiteral(" ")); }

}  // namespace suite
