// The splitter's main dialog on Qt Widgets.
#pragma once

#include <QDialog>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "splitter/cleavora_window_model.h"

class QLineEdit;
class QPushButton;
class QThread;

namespace suite {
class DesktopShell;
class StatusLine;
}

namespace cleavora {

class SplitState;

// The in-memory model is the dialog's stored form; the widgets only mirror it.
// Every operation may be called from the split worker: it is then carried out
// whole on the dialog's thread while the worker waits (a blocking queued call).
//
// Closing the dialog while a split runs asks the worker to stop and waits for
// it, still serving its calls meanwhile, so the dialog outlives the worker.
class CCleavoraDlg : public QDialog, public CleavoraWindowModel {
  Q_OBJECT
 public:
  CCleavoraDlg(SplitState& state, suite::DesktopShell& shell, QWidget* parent = nullptr);
  ~CCleavoraDlg() override;

  std::string FilePath() override;
  int64_t LinesPerPiece() override;
  void SetFilePath(const std::string& path) override;
  void SetLinesPerPiece(int64_t lines) override;
  void SetStatusText(const std::string& text) override;
  bool ReadForm() override;
  void ReadPathField() override;
  void ShowForm() override;
  void ShowStatusLine(const std::string& text) override;
  void EnableInput(bool enable) override;
  bool InputEnabled() override;
  void SetTitle(const std::string& title) override;
  void FocusPathField(PathSelection selection) override;
  std::optional<std::string> ChooseFile(const FileChooserRequest& request) override;
  void StartSplitWorker() override;

  // True from the start of a split worker until its thread has ended.
  bool SplitRunning() const;

  void done(int result) override;

 protected:
  void ReportValidation(const std::string& message) override;

 private:
  class ActionScope;

  void BuildControls();
  void OnBtnChooseFile();
  void OnBtnStartSplit();
  void OnBtnOpenDirectory();
  void OnBtnApply();

  // The worker's body, CCleavoraDlg::_thr_split.
  int _thr_split();
  // Asks a running worker to stop and waits for its thread, serving its calls.
  void StopWorker();
  // Waits for the worker's thread to end, serving its calls meanwhile.
  void WaitForWorker();

  // The widgets into the model's fields, and back.
  void TakeFields();
  void MirrorFields();
  // The piece size the worker reads: the stored one as the last whole action
  // left it, never a value an action holds only for a moment.
  void PublishPieceSize();

  // Runs `call` on the dialog's thread and gives its result.
  template <typename Call>
  auto OnDialogThread(Call&& call) -> std::invoke_result_t<Call&>;

  SplitState& state_;
  suite::DesktopShell& shell_;

  QLineEdit* pathField_ = nullptr;        // 1000
  QPushButton* chooseButton_ = nullptr;   // 1001
  QPushButton* startButton_ = nullptr;    // 1002
  QPushButton* openDirButton_ = nullptr;  // 1006
  QLineEdit* pieceSizeField_ = nullptr;   // 1007
  QPushButton* applyButton_ = nullptr;    // 1008
  suite::StatusLine* statusLine_ = nullptr;  // 1005

  std::unique_ptr<QThread> worker_;
  std::atomic<int64_t> workerPieceSize_;
  int actionDepth_ = 0;
};

}  // namespace cleavora
