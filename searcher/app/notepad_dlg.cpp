#include "searcher/app/notepad_dlg.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

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

void CNotepadDlg::SetText(const QString& text) {
  QString shown = text;
  shown.replace("\r\n", "\n");
  edit_->setPlainText(shown);
}

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
