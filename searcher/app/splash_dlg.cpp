#include "searcher/app/splash_dlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "widgets/program_art.h"

namespace lorvane {
namespace {

bool g_firstSplash = true;

}  // namespace

const char* const CSplashDlg::kAboutText =
    "名称: Lorvane 超大日志文件搜索/查看工具\r\n"
    "愿景: 让漫长的搜索成为一种享受!\r\n"
    "联系: logsuite-dev@users.invalid\r\n";

bool CSplashDlg::FirstSplash() { return g_firstSplash; }

CSplashDlg* CSplashDlg::Open(QWidget* parent, const std::atomic<int32_t>* workerDone) {
  auto* splash = new CSplashDlg(parent, workerDone);
  splash->setAttribute(Qt::WA_DeleteOnClose);
  splash->show();
  return splash;
}

CSplashDlg::CSplashDlg(QWidget* parent, const std::atomic<int32_t>* workerDone)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      workerDone_(workerDone),
      first_(g_firstSplash),
      closer_(new QTimer(this)) {
  // Shown over the main window while a worker runs: it never takes the
  // keyboard from it.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  auto* picture = new QLabel;
  picture->setPixmap(suite::SplashPicture(320, 260));
  picture->setAttribute(Qt::WA_TransparentForMouseEvents);  // clicks reach the window
  layout->addWidget(picture);
  auto* about = new QPlainTextEdit;
  about->setFrameShape(QFrame::NoFrame);
  about->setReadOnly(true);
  about->setPlainText(QString::fromUtf8(kAboutText).replace("\r\n", "\n").trimmed());
  about->setFixedHeight(58);
  about->setAttribute(Qt::WA_TransparentForMouseEvents);
  about->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(about);
  setFixedWidth(322);
  if (parent) move(parent->geometry().center() - QPoint(161, 170));
  // The start-up splash waits in steps of 10 ms, at most 200 ms; later ones
  // look at the worker-done mark every 100 ms.
  closer_->setInterval(first_ ? 10 : 100);
  connect(closer_, &QTimer::timeout, this, [this] { Tick(); });
  closer_->start();
}

void CSplashDlg::Tick() {
  if (dismissed_) {
    Finish();
    return;
  }
  if (first_) {
    if (++waited_ >= 20) Finish();
  } else if (workerDone_ && workerDone_->load() != 0) {
    Finish();
  }
}

void CSplashDlg::Finish() {
  closer_->stop();
  g_firstSplash = false;
  close();
}

void CSplashDlg::keyPressEvent(QKeyEvent*) { dismissed_ = true; }

void CSplashDlg::mousePressEvent(QMouseEvent*) { dismissed_ = true; }

void CSplashDlg::reject() { dismissed_ = true; }

void CSplashDlg::closeEvent(QCloseEvent* event) {
  if (closer_->isActive()) {  // the close command dismisses; the closer ends it
    dismissed_ = true;
    event->ignore();
    return;
  }
  g_firstSplash = false;
  event->accept();
}

}  // namespace lorvane
