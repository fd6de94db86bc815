// The list-file chooser's dialog.
#pragma once

#include <QDialog>
#include <mutex>
#include <thread>

#include "snippets/list_chooser.h"
#include "snippets/list_chooser_window.h"

class QLabel;
class QToolButton;

namespace suite {
class CColorListBox;
}

namespace snipkeep {

// Shows the list names and forwards the user's actions to a ListChooser.
// Modal, without a caption text. The list is filled on a worker thread whose
// calls are each carried out whole on the dialog's thread, in the order made;
// one fill runs at a time, and the dialog waits for a running fill before it
// closes or goes.
class ListChooserDlg : public QDialog, public ListChooserWindow {
  Q_OBJECT
 public:
  // Initialises the chooser at once, which starts the first fill.
  explicit ListChooserDlg(ListChooser& chooser, QWidget* parent = nullptr);
  ~ListChooserDlg() override;

  // The dialog's side of the chooser.
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& question) override;
  void ListFill(const std::vector<ChooserEntry>& entries, int64_t selection) override;
  void ListInsert(int64_t index, const ChooserEntry& entry) override;
  std::vector<std::string> ListTexts() override;
  std::string ListFileName(int64_t index) override;
  int64_t ListSelection() override;
  void ListSelect(int64_t index) override;
  void StartFilling() override;
  std::optional<std::string> AskNewListName() override;
  void EndDialog() override;

  // True while a fill runs or waits to run.
  bool Filling();
  // Returns when no fill runs; the dialog's events (not the user's) go on
  // being handled meanwhile, so the fill's calls are carried out.
  void WaitForFills();

  suite::CColorListBox* NameList() const { return list_; }
  QLabel* NoteLabel() const { return note_; }
  QToolButton* NewButton() const { return newButton_; }
  QToolButton* DeleteButton() const { return deleteButton_; }
  QToolButton* CloseButton() const { return closeButton_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;  // Enter chooses
  void reject() override;                         // Escape and the close box
  void accept() override;

 private:
  template <typename Function>
  void OnDialogThread(Function&& function);
  void FillLoop();
  void SelectRow(int64_t index);  // on the dialog's thread

  ListChooser& chooser_;
  suite::CColorListBox* list_ = nullptr;
  QLabel* note_ = nullptr;
  QToolButton* newButton_ = nullptr;
  QToolButton* deleteButton_ = nullptr;
  QToolButton* closeButton_ = nullptr;

  std::mutex fillMutex_;
  std::thread fillThread_;
  bool fillRunning_ = false;  // guarded by fillMutex_
  int fillsAsked_ = 0;        // fills asked for while one ran; guarded by fillMutex_
};

}  // namespace snipkeep
