// CLorvaneDlg: the searcher's main window.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "common/status_area.h"
#include "searcher/app/gui_call.h"
#include "searcher/engine/command_line.h"
#include "searcher/engine/lorvane_window.h"
#include "searcher/engine/search_context.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QSlider;
class QPushButton;
class QTimer;

namespace suite {
class CColorListBox;
class ColourLabel;
class RepaintThrottle;
class DesktopShell;
}  // namespace suite

namespace lorvane {

extern const char* const LVN_MAIN_TITLE_M;

// Shows what the engine's workers report and forwards the user's actions to
// them. Every operation of the window interface may be called from a worker:
// it is carried out whole on the window's thread, in the order made.
class CLorvaneDlg : public QDialog, public LorvaneWindow {
  Q_OBJECT
 public:
  CLorvaneDlg(const CommandLineRequest& request, suite::DesktopShell& shell, QWidget* parent = nullptr);
  ~CLorvaneDlg() override;

  // The window interface.
  void PostStatus(const std::string& message) override;
  void EnableControls(bool enable, bool progress) override;
  void ResetResultViews() override;
  LorvaneForm ReadForm() override;
  LorvaneForm StoredForm() override;
  void RefreshForm() override;
  void SetFormText(FormText field, const std::string& value) override;
  void SetFormNumber(FormNumber field, int64_t value) override;
  void SetMatchCase(bool on) override;
  void SelectAllText(EditControl edit) override;
  void FocusEdit(EditControl edit) override;
  void ShowEdit(EditControl edit, bool shown) override;
  void ListClear(ListControl list) override;
  void ListAppend(ListControl list, const std::string& text) override;
  void ListAppendColoured(ListControl list, const std::string& text, Rgb colour) override;
  int64_t ListCount(ListControl list) override;
  std::string ListText(ListControl list, int64_t index) override;
  int64_t ListSelection(ListControl list) override;
  void ListSelect(ListControl list, int64_t index) override;
  bool ListSelectText(ListControl list, const std::string& text) override;
  void ListDelete(ListControl list, int64_t index) override;
  void ProgressSetRange(int64_t low, int64_t high) override;
  void ProgressSetStep(int64_t step) override;
  void ProgressStep() override;
  void ProgressSetPosition(int64_t position) override;
  void SliderShow() override;
  void SliderSetRange(int64_t low, int64_t high) override;
  void SliderSetTickFrequency(int64_t frequency) override;
  void SliderSetPosition(int64_t position) override;
  int64_t SliderPosition() override;
  void ShowSplash() override;
  void ShowTextDialog(const std::string& text) override;
  void Beep() override;
  void SetClipboardText(const std::string& text) override;
  std::string GetClipboardText() override;
  void OpenWithShell(const std::string& path) override;
  void OnSelectResultFile() override;
  void OnSelectResultLine() override;
  void StartWorker(Worker worker) override;
  bool AutoSearchMarked() override { return request_.autoSearch; }

  // Window-level operations.
  // Results and page lines are the target's text; file names are messages'.
  suite::CodePage ListCodePage(ListControl list) const;
  void ShowHelpHints(bool shown);
  void ToggleHelpHints();
  void toResultLoad(const std::string& path);
  void ShowQuickIndex();
  void OpenFile(const std::string& path);  // a chosen or dropped path, as the chooser does

  SearchContext& Context() { return context_; }
  bool ControlsEnabled() const { return controlsEnabled_.load(); }
  bool AcceptsDrops() const { return acceptsDrops_.load(); }
  int RunningWorkers() const { return runningWorkers_.load(); }
  const suite::ThreeLineStatusArea& Status() const { return status_; }
  const suite::RepaintThrottle& Throttle() const { return *throttle_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Esc: the close request
  void accept() override;  // the dialog's OK does nothing

 private:
  void BuildControls();
  void Initiate();
  bool HandleKey(int key);
  void OnBtnChooseFile();
  void OnDropPath(const std::string& path);
  void CloseRequest();
  void StartGlint();
  void RunWorker(Worker worker);
  void ApplySliderTicks();
  void ScheduleViewSync();
  void SyncViews();  // the status area and the form into their edits, if stale
  void LayOutChangedLists();
  QListWidget* ListWidget(ListControl list) const;
  QLineEdit* EditWidget(EditControl edit) const;

  CommandLineRequest request_;
  suite::DesktopShell& shell_;
  SearchContext context_;
  LorvaneForm form_;
  suite::ThreeLineStatusArea status_;
  std::atomic<bool> closing_{false};
  PostedCalls posted_{this};  // workers' calls that give nothing back, in order
  std::atomic<bool> controlsEnabled_{true};
  std::atomic<bool> acceptsDrops_{true};
  std::atomic<int> runningWorkers_{0};
  bool hintsNextShown_ = false;
  int closePresses_ = 0;
  int64_t progressStep_ = 10;
  int64_t sliderTickFrequency_ = 1;
  // Workers post a status line per quick-index entry and a result entry per
  // match: painting after each cost a 1 GiB search seconds on the window's
  // thread. 30 ms is more than a screen shows and short enough to feel at once.
  static constexpr std::chrono::milliseconds kRepaintInterval{30};
  static constexpr qint64 kViewSyncIntervalMs = kRepaintInterval.count();
  QTimer* viewSync_ = nullptr;
  QElapsedTimer sinceViewSync_;
  bool statusStale_ = false;
  bool formStale_ = false;
  // Lists whose entries changed since the window last painted. Qt lays a list
  // out again only on a timer after an entry comes, and a paint before that
  // drew it empty (the result-file list flickered during a big search): they
  // are laid out before the window paints, once for all their new entries.
  std::vector<QListWidget*> changedLists_;
  QPointer<QWidget> focusBeforeLock_;  // had the focus when a worker locked the window
  QPointer<QWidget> focusWanted_;      // asked to take the focus while locked

  // Controls.
  QLineEdit* filePathEdit_ = nullptr;
  QLineEdit* sizeEdit_ = nullptr;
  QLineEdit* totalLinesEdit_ = nullptr;
  QLineEdit* keywordEdit_ = nullptr;
  QLineEdit* readLinesEdit_ = nullptr;
  QLineEdit* resultsEdit_ = nullptr;
  QCheckBox* matchCaseBox_ = nullptr;
  QLineEdit* statusEdits_[3] = {};
  QListWidget* resultFileList_ = nullptr;
  QListWidget* resultList_ = nullptr;
  suite::CColorListBox* virtualPageList_ = nullptr;
  QLineEdit* halfPageEdit_ = nullptr;
  QLineEdit* startLineEdit_ = nullptr;
  QLineEdit* offsetEdit_ = nullptr;
  QSlider* startLineSlider_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  suite::ColourLabel* helpLabel_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  std::vector<QWidget*> helpHints_;
  std::vector<QWidget*> buttons_;
  suite::RepaintThrottle* throttle_ = nullptr;
};

}  // namespace lorvane
