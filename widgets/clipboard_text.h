// The clipboard's text, as a user means it.
#pragma once

#include <QString>

class QMimeData;

namespace suite {

// The plain text of `data`, or "" when it holds none: files copied in a file
// manager come as a list of file URLs, which Qt would hand out as text (and a
// Qt program offers as plain text too), so data with file URLs holds no text.
QString PlainText(const QMimeData* data);

// PlainText of the clipboard.
QString ClipboardPlainText();

}  // namespace suite
