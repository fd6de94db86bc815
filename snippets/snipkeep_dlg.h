// The snippet window: the one window of Snipkeep.
#pragma once

#include <QDialog>
#include <QPoint>
#include <array>
#include <string>

#include "common/status_area.h"
#include "snippets/snipkeep_dialog.h"
#include "snippets/snipkeep_window.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace suite {
class CColorListBox;
class DesktopShell;
}  // namespace suite

namespace snipkeep {

class SnippetListBox;

// A running instance's window, with or without a list name in its title: a
// second start brings it forward in either case.
bool IsSnipkeepTitle(const QString& title);

// Shows the snippet list, the two boxes, the copy buttons, the check boxes,
// the icon buttons and the status line, and forwards the user's actions to
// SnipkeepDialog. Everything runs on the window's thread.
class SnipkeepDlg : public QDialog, public SnipkeepWindow {
  Q_OBJECT
 public:
  enum IconButtonIndex { kChoose, kEdit, kRefresh, kOpenDirectory, kHelp };

  // `listDirectory` holds the list files (normally "config/" beside the
  // program), `programDirectory` the read-me. Runs the start-up at once: the
  // current list is loaded when the constructor returns.
  SnipkeepDlg(suite::DesktopShell& shell, std::string listDirectory, std::string programDirectory,
              QWidget* parent = nullptr);
  ~SnipkeepDlg() override;

  // The window's side of the snippet tool.
  void SetTitle(const std::string& title) override;
  void PostStatus(const std::string& message) override;
  SnipkeepForm ReadForm() override;
  void SetFlag(Flag flag, bool on) override;
  void SetBoxText(Box box, const std::string& text) override;
  void EnableBox(Box box, bool enable) override;
  void FocusBox(Box box) override;
  void PlaceCaret(Box box, bool atEnd) override;
  void EnableCopyButton(CopyOperation button, bool enable) override;
  void ListClear() override;
  void ListAppend(const std::string& text, Rgb colour) override;
  void SetClipboardText(const std::string& text) override;
  void RunListChooser(ListChooser& chooser) override;

  SnipkeepDialog& Core() { return core_; }
  // The status line as posted: the time prefix and the message, code page.
  const std::string& StatusLine() const { return status_.Line(); }

  // The controls, for tests.
  suite::CColorListBox* SnippetList() const;
  QLineEdit* SingleLineBox() const { return singleLine_; }
  QPlainTextEdit* MultiLineBox() const { return multiLine_; }
  QPushButton* CopyButton(CopyOperation button) const { return copyButtons_[static_cast<size_t>(button) - 1]; }
  QCheckBox* FlagBox(Flag flag) const { return flagBoxes_[static_cast<size_t>(flag)]; }
  QToolButton* IconButton(IconButtonIndex index) const { return iconButtons_[index]; }
  QLineEdit* StatusField() const { return statusField_; }

 protected:
  // A press of the left button on the background moves the window.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void accept() override;  // the OK command (Enter) does nothing

 private:
  void BuildControls();
  QWidget* BoxWidget(Box box) const;

  SnipkeepDialog core_;
  suite::OneLineStatusArea status_;
  bool fillingList_ = false;
  bool dragging_ = false;
  QPoint dragOffset_;

  SnippetListBox* list_ = nullptr;
  QLineEdit* singleLine_ = nullptr;
  QPlainTextEdit* multiLine_ = nullptr;
  std::array<QPushButton*, 4> copyButtons_{};
  std::array<QCheckBox*, kFlagCount> flagBoxes_{};
  std::array<QToolButton*, 5> iconButtons_{};
  QLineEdit* statusField_ = nullptr;
};

}  // namespace snipkeep
