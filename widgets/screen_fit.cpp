#include "widgets/screen_fit.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace suite {
namespace {

// Before a window is shown its frame is unknown: room for a caption of two
// lines of text and borders of a few pixels.
QSize FrameAllowance(const QWidget* window) {
  const int line = window->fontMetrics().height();
  return QSize(16, 2 * line + 16);
}

QScreen* OpeningScreen(const QWidget* window) {
  if (const QWidget* parent = window->parentWidget()) return parent->screen();
  if (QScreen* under = QGuiApplication::screenAt(QCursor::pos())) return under;
  return QGuiApplication::primaryScreen();
}

}  // namespace

void FitOnScreen(QWidget* window, QSize preferred) {
  QSize size = preferred;
  if (const QScreen* screen = OpeningScreen(window)) {
    size = size.boundedTo(screen->availableGeometry().size() - FrameAllowance(window));
  }
  window->resize(size.expandedTo(window->minimumSizeHint()).expandedTo(window->minimumSize()));
}

}  // namespace suite
