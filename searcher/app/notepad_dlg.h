// CNotepadDlg, "Lorvane Notepad-Embedded": a long text in a resizable box.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace lorvane {

// F2 to F5 close it (the key that opened a view closes it again); F1 and F12
// do nothing here. What the user edits is not kept.
class CNotepadDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CNotepadDlg(QWidget* parent = nullptr);
  void SetText(const QString& text);
  QString Text() const;
  bool Wrapped() const;  // shown wrapped at the edge: a line of more than 10000 characters

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* edit_;
};

}  // namespace lorvane
