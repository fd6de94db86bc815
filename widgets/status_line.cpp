#include "widgets/status_line.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

namespace suite {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* copy = new QAction(QString::fromUtf8("复制"), this);
  connect(copy, &QAction::triggered, this, [this] { QGuiApplication::clipboard()->setText(message_); });
  addAction(copy);
}

void StatusLine::SetMessage(const QString& message) {
  message_ = message;
  Elide();
}

QSize StatusLine::minimumSizeHint() const { return QSize(0, QLabel::minimumSizeHint().height()); }

void StatusLine::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void StatusLine::Elide() {
  QString line = message_;
  line.replace(QLatin1String("\r\n"), QLatin1String(" "));
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  line.replace(QLatin1Char('\r'), QLatin1Char(' '));
  const QString shown = fontMetrics().elidedText(line, Qt::ElideMiddle, contentsRect().width());
  if (shown != text()) setText(shown);
  setToolTip(shown == line ? QString() : message_);
}

}  // namespace suite
