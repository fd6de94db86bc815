// Opening sizes that fit the screen.
#pragma once

#include <QSize>

class QWidget;

namespace suite {

// Resizes `window` to `preferred` as far as the screen it opens on has room:
// that screen's free area (without panels) less room for the frame and
// caption a window manager adds; never below the window's minimum size. The
// screen is its parent's, or for a window without one the screen under the
// mouse, as Qt places such a dialog. The window is placed as Qt places a
// dialog, in the middle of its parent or of the screen, but with its frame
// and caption wholly on the screen. Sizes are in the window's own (scaled)
// pixels.
void FitOnScreen(QWidget* window, QSize preferred);

}  // namespace suite
