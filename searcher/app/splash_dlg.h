// CSplashDlg: the program's picture and name, at start and while a worker runs.
#pragma once

#include <QDialog>
#include <atomic>
#include <cstdint>

class QTimer;

namespace lorvane {

// The start-up splash closes after 200 ms; later ones close once the worker-done
// mark is set. A key or a click dismisses it at once.
class CSplashDlg : public QDialog {
  Q_OBJECT
 public:
  // Opens a fresh splash window that deletes itself when it closes.
  static CSplashDlg* Open(QWidget* parent, const std::atomic<int32_t>* workerDone);
  // True until the first splash window has closed.
  static bool FirstSplash();

  static const char* const kAboutText;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  CSplashDlg(QWidget* parent, const std::atomic<int32_t>* workerDone);
  void Tick();
  void Finish();

  const std::atomic<int32_t>* workerDone_;
  bool first_;
  bool dismissed_ = false;
  int waited_ = 0;
  QTimer* closer_;
};

}  // namespace lorvane
