// A status line that always shows its whole message one way or another.
#pragma once

#include <QLabel>

namespace suite {

// A one-line message on the window's background. A message too long for the
// line is shown elided in the middle, so its beginning and its end (where a
// failure's reason stands, after a long path) stay in sight; the whole message
// is its tool tip and what "复制" in its menu copies. Line ends show as blanks.
class StatusLine : public QLabel {
  Q_OBJECT
 public:
  explicit StatusLine(QWidget* parent = nullptr);

  void SetMessage(const QString& message);
  const QString& Message() const { return message_; }
  // What the line shows now.
  QString Shown() const { return text(); }

  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();

  QString message_;
};

}  // namespace suite
