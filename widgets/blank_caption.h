// The caption of a window that has none.
#pragma once

#include <QString>

namespace suite {

// Qt gives a window with an empty title the program's name as its caption;
// one blank shows as no caption at all.
inline const QString kBlankCaption = QStringLiteral(" ");

}  // namespace suite
