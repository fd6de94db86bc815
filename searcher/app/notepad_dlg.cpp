#include "searcher/app/notepad_dlg.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace lorvane {

CNotepadDlg::CNotepadDlg(QWidget* parent) : QDialog(parent), edit_(new QPlainTextEdit(this)) {
  setWindowTitle("Lorvane Notepad-Embedded");
  setWindowFlags(Qt::Dialog | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_);
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit_->installEventFilter(this);
  installEventFilter(this);
  resize(820, 640);
}

namespace {

// An unwrapped line is laid out and drawn whole at every paint: a line of
// 5 MiB took the box 0.7 s a paint, and the blinking cursor kept the window
// frozen. Lines up to this length cost about a millisecond.
constexpr qsizetype kLongestUnwrappedLine = 10000;

qsizetype LongestLine(const QString& text) {
  qsizetype longest = 0;
  qsizetype start = 0;
  for (;;) {
    const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    longest = std::max(longest, (end < 0 ? text.size() : end) - start);
    if (end < 0) return longest;
    start = end + 1;
  }
}

}  // namespace

void CNotepadDlg::SetText(const QString& text) {
  QString shown = text;
  shown.replace("\r\n", "\n");
  // The text stays as it is; a line too long to draw at once is shown
  // wrapped at the box's edge.
  if (LongestLine(shown) > kLongestUnwrappedLine) {
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit_->setWordWrapMode(QTextOption::WrapAnywhere);
  } else {
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  }
  edit_->setPlainText(shown);
}

bool CNotepadDlg::Wrapped() const { return edit_->lineWrapMode() != QPlainTextEdit::NoWrap; }

QString CNotepadDlg::Text() const { return edit_->toPlainText(); }

bool CNotepadDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_F2:
      case Qt::Key_F3:
      case Qt::Key_F4:
      case Qt::Key_F5: accept(); return true;
      case Qt::Key_F1:
      case Qt::Key_F12: return true;
      default: break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace lorvane
