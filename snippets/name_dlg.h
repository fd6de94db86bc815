// The name dialog: asks for the name of a new list file.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace snipkeep {

// Modal, without a caption text. OK (or Enter) confirms with the field's
// text, cancel (or Escape, or the close box) does not.
class NameDlg : public QDialog {
  Q_OBJECT
 public:
  explicit NameDlg(QWidget* parent = nullptr);

  // Runs the dialog: the typed name in the code page, or nothing when it was
  // not confirmed. It names a file: a character the code page lacks keeps its
  // spelling (suite::PathText), so the file gets the name typed, not a "?".
  std::optional<std::string> Ask();

  QLineEdit* NameField() const { return field_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QLabel* NoteLabel() const { return note_; }

 private:
  QLineEdit* field_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* note_ = nullptr;
};

}  // namespace snipkeep
