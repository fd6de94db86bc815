#include "widgets/screen_fit.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace suite {
namespace {

// Before a window is shown its frame is unknown: room for a caption of two
// lines of text and borders of a few pixels.
QMargins FrameAllowance(const QWidget* window) {
  const int line = window->fontMetrics().height();
  return QMargins(8, 2 * line + 8, 8, 8);
}

QScreen* OpeningScreen(const QWidget* window) {
  if (const QWidget* parent = window->parentWidget()) return parent->screen();
  if (QScreen* under = QGuiApplication::screenAt(QCursor::pos())) return under;
  return QGuiApplication::primaryScreen();
}

}  // namespace

void FitOnScreen(QWidget* window, QSize preferred) {
  const QScreen* screen = OpeningScreen(window);
  const QMargins frame = FrameAllowance(window);
  const QRect free = screen != nullptr ? screen->availableGeometry() : QRect();
  const QSize room = screen != nullptr ? free.marginsRemoved(frame).size() : preferred;
  const QSize size = preferred.boundedTo(room).expandedTo(window->minimumSizeHint()).expandedTo(window->minimumSize());
  window->resize(size);
  if (screen == nullptr) return;
  // Qt would centre the window guessing its frame, and lift it to the
  // screen's top edge when it is tall: a window manager that keeps a window
  // where it was asked then put the caption above the screen. A window's
  // position is its frame's: centred over its parent, or on the free area,
  // and wholly on the free area.
  const QSize outer = size.grownBy(frame);
  const QWidget* parent = window->parentWidget();
  const QRect around = parent != nullptr ? parent->window()->frameGeometry() : free;
  QPoint at = around.center() - QPoint(outer.width() / 2, outer.height() / 2);
  at.setX(std::max(std::min(at.x(), free.right() + 1 - outer.width()), free.left()));
  at.setY(std::max(std::min(at.y(), free.bottom() + 1 - outer.height()), free.top()));
  window->move(at);
}

}  // namespace suite
