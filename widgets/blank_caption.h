// A window caption that shows no text.
#pragma once

class QWidget;

namespace suite {

// Qt puts the program's name into the caption of a window whose title is
// empty, and the window manager shows it; a title of one blank shows as an
// empty caption and is kept.
void SetBlankCaption(QWidget& window);

}  // namespace suite
