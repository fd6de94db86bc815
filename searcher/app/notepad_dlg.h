// CNotepadDlg, "Lorvane Notepad-Embedded": a long text in a resizable box.
#pragma once

#include <QDialog>

namespace lorvane {

class NotepadEdit;

// F2 to F5 close it (the key that opened a view closes it again); F1 and F12
// do nothing here. What the user edits is not kept.
//
// Each line of the text is one line of the box, whatever it holds: a CR
// inside a line (CR LF ends it) shows as a blank, as in the lists. A line of
// more than kFoldLength characters is shown wrapped at the edge, laid out in
// pieces of that length, so the box paints at once and costs nothing while
// idle whatever the line's length; what is copied out of it joins the pieces
// again.
class CNotepadDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr qsizetype kFoldLength = 10000;

  explicit CNotepadDlg(QWidget* parent = nullptr);
  void SetText(const QString& text);
  // The text as shown, lines ended by LF, pieces of a long line joined.
  QString Text() const;
  bool Wrapped() const;  // a line of more than kFoldLength characters

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  NotepadEdit* edit_;
};

}  // namespace lorvane
