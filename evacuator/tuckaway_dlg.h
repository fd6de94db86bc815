// The evacuator's dialog.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "evacuator/evacuator.h"
#include "evacuator/source_folder.h"
#include "evacuator/tuckaway_window.h"
#include "evacuator/tuckaway_window_model.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace suite {
class CColorListBox;
class DesktopShell;
}  // namespace suite

namespace tuckaway {

// Shows the folder to empty and its files, and forwards the user's actions to
// the Evacuator. The window interface is carried out here, on the window's
// thread; the listing worker reaches it through a ListingProxy. What the
// dialog shows is also kept in a TuckawayWindowModel: the file names there are
// the file system's bytes, whatever the list shows for them.
class TuckawayDlg : public QDialog, public TuckawayWindow {
  Q_OBJECT
 public:
  // `sourceDirectory` is the folder to empty (the program passes its own
  // directory). Starts the first listing at once.
  TuckawayDlg(const std::string& sourceDirectory, suite::DesktopShell& shell,
              Evacuator::TimeStampSource timeStamp = nullptr, QWidget* parent = nullptr);
  // The folder as chosen at start: the line under the source field says where
  // it came from, or why it is refused (then nothing is listed or moved).
  TuckawayDlg(const SourceFolder& source, suite::DesktopShell& shell, Evacuator::TimeStampSource timeStamp = nullptr,
              QWidget* parent = nullptr);
  // Waits for a listing still running; its remaining calls are dropped.
  ~TuckawayDlg() override;

  // The window interface.
  void SetTitle(const std::string& title) override;
  void EnableControls(bool enable) override;
  void SetSourceText(const std::string& text) override;
  void SetTargetText(const std::string& text) override;
  void FocusTarget() override;
  void SelectTargetFromEnd(int64_t caret) override;
  void ListClear() override;
  void ListAddSorted(const std::string& name) override;
  void ListAppendColoured(const std::string& name, Rgb colour) override;
  int64_t ListCount() override;
  std::string ListText(int64_t index) override;
  void ListDelete(int64_t index) override;
  void StartListing() override;

  const TuckawayWindowModel& Model() const { return model_; }
  const Evacuator& Core() const { return evacuator_; }
  bool ListingRunning() const { return listingRunning_; }

  // The controls, for tests.
  suite::CColorListBox* FileList() const { return fileList_; }
  QLineEdit* SourceField() const { return sourceField_; }
  QLineEdit* TargetField() const { return targetField_; }
  QPushButton* RefreshButton() const { return refreshButton_; }
  QToolButton* MoveButton() const { return moveButton_; }
  QPushButton* OpenFolderButton() const { return openFolderButton_; }
  QLabel* NoteLabel() const { return note_; }
  QLabel* SourceNoteLabel() const { return sourceNote_; }

 signals:
  void ListingFinished();

 protected:
  // Enter closes the dialog as its default button would; Escape cancels.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void OnMove();
  void OnListingEnded(uint64_t generation);

  suite::DesktopShell& shell_;
  Evacuator evacuator_;
  TuckawayWindowModel model_;

  suite::CColorListBox* fileList_ = nullptr;
  QLineEdit* sourceField_ = nullptr;
  QLineEdit* targetField_ = nullptr;
  QPushButton* refreshButton_ = nullptr;
  QToolButton* moveButton_ = nullptr;
  QPushButton* openFolderButton_ = nullptr;
  QLabel* note_ = nullptr;
  QLabel* sourceNote_ = nullptr;

  std::thread listing_;
  std::atomic<bool> closing_{false};
  bool listingRunning_ = false;
  bool moving_ = false;
  QElapsedTimer sinceEvents_;
  uint64_t listingGeneration_ = 0;
};

}  // namespace tuckaway
