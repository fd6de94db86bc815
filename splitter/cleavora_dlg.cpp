#include "splitter/cleavora_dlg.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "splitter/cleavora_actions.h"
#include "splitter/split.h"
#include "splitter/split_state.h"
#include "widgets/file_drops.h"
#include "widgets/hand_button.h"
#include "widgets/message_box_texts.h"
#include "widgets/program_art.h"
#include "widgets/qt_text.h"
#include "widgets/status_line.h"

namespace cleavora {
namespace {

// The dialog's size in dialog units, measured with its own font.
constexpr int kDialogWidthUnits = 301;
constexpr int kPieceSizeFieldUnits = 60;

// Pixels per horizontal dialog unit: a quarter of the font's mean letter width.
double HorizontalUnit(const QFont& font) {
  static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return QFontMetricsF(font).horizontalAdvance(letters) / letters.size() / 4.0;
}

// A filter of the chooser as Qt writes it. "*.*" would pass only names with a
// dot here, so it becomes "*": logs without an extension stay choosable. That
// is Qt's own filter of all files, which Qt's translations give in Chinese.
QString NameFilter(const FileChooserRequest::Filter& filter) {
  if (filter.pattern == "*.*") return QFileDialog::tr("All Files (*)");
  QString name = suite::FromCodePage(filter.name);
  const qsizetype bracket = name.lastIndexOf(QLatin1String(" ("));
  if (bracket >= 0) name.truncate(bracket);
  return name + QStringLiteral(" (") + suite::FromCodePage(filter.pattern) + QLatin1Char(')');
}

// Set on the split worker's thread: it asks for the piece size after every
// line, so that question is answered without a look at Qt's thread data.
thread_local bool onSplitWorker = false;

}  // namespace

// While a user action runs, the piece size it stores is not yet handed to the
// worker: Apply holds a rejected value until it restores the last accepted one.
class CCleavoraDlg::ActionScope {
 public:
  explicit ActionScope(CCleavoraDlg& dialog) : dialog_(dialog) { ++dialog_.actionDepth_; }
  ~ActionScope() {
    if (--dialog_.actionDepth_ == 0) dialog_.PublishPieceSize();
  }
  ActionScope(const ActionScope&) = delete;
  ActionScope& operator=(const ActionScope&) = delete;

 private:
  CCleavoraDlg& dialog_;
};

template <typename Call>
auto CCleavoraDlg::OnDialogThread(Call&& call) -> std::invoke_result_t<Call&> {
  using Result = std::invoke_result_t<Call&>;
  if (QThread::currentThread() == thread()) return call();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(this, [&call] { call(); }, Qt::BlockingQueuedConnection);
  } else {
    std::optional<Result> result;
    QMetaObject::invokeMethod(this, [&call, &result] { result.emplace(call()); }, Qt::BlockingQueuedConnection);
    return std::move(*result);
  }
}

CCleavoraDlg::CCleavoraDlg(SplitState& state, suite::DesktopShell& shell, QWidget* parent)
    : QDialog(parent), state_(state), shell_(shell), workerPieceSize_(CleavoraWindowModel::LinesPerPiece()) {
  BuildControls();
  ActionScope scope(*this);
  OnInitDialog(*this, state_);
}

CCleavoraDlg::~CCleavoraDlg() { StopWorker(); }

void CCleavoraDlg::BuildControls() {
  QFont font = this->font();
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"), font.family()});
  font.setPointSize(9);
  setFont(font);
  setWindowIcon(suite::ProgramIcon(suite::kPartivoMark));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  // A file dropped anywhere, on the path field too, is the window's drop.
  new suite::FileDrops(this, [this] { return CleavoraWindowModel::InputEnabled(); },
                       [this](const std::vector<std::string>& paths) { cleavora::OnDropFiles(*this, paths); });

  const double unit = HorizontalUnit(font);
  pathField_ = new QLineEdit;
  pathField_->setObjectName(QStringLiteral("pathField"));
  chooseButton_ = new suite::HandButton(QString::fromUtf8("选择文件"));
  chooseButton_->setObjectName(QStringLiteral("chooseFileButton"));
  startButton_ = new suite::HandButton(QString::fromUtf8("开始分割"));
  startButton_->setObjectName(QStringLiteral("startButton"));
  openDirButton_ = new suite::HandButton(QString::fromUtf8("打开目录"));
  openDirButton_->setObjectName(QStringLiteral("openDirectoryButton"));
  pieceSizeField_ = new QLineEdit;
  pieceSizeField_->setObjectName(QStringLiteral("pieceSizeField"));
  pieceSizeField_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), pieceSizeField_));
  pieceSizeField_->setFixedWidth(static_cast<int>(std::lround(kPieceSizeFieldUnits * unit)));
  applyButton_ = new suite::HandButton(QString::fromUtf8("使用新参数"));
  applyButton_->setObjectName(QStringLiteral("applyButton"));
  // A long path's failure keeps its reason in sight; the whole on hover.
  statusLine_ = new suite::StatusLine;
  statusLine_->setObjectName(QStringLiteral("statusLine"));

  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(new QLabel(QString::fromUtf8("待分割文件路径：")));
  pathRow->addWidget(pathField_, 1);
  pathRow->addWidget(chooseButton_);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(startButton_);
  buttonRow->addWidget(openDirButton_);
  buttonRow->addStretch(1);
  buttonRow->addWidget(pieceSizeField_);
  buttonRow->addWidget(applyButton_);
  auto* rows = new QVBoxLayout(this);
  rows->addLayout(pathRow);
  rows->addLayout(buttonRow);
  rows->addWidget(statusLine_);

  connect(chooseButton_, &QPushButton::clicked, this, &CCleavoraDlg::OnBtnChooseFile);
  connect(startButton_, &QPushButton::clicked, this, &CCleavoraDlg::OnBtnStartSplit);
  connect(openDirButton_, &QPushButton::clicked, this, &CCleavoraDlg::OnBtnOpenDirectory);
  connect(applyButton_, &QPushButton::clicked, this, &CCleavoraDlg::OnBtnApply);

  const QSize hint = sizeHint();
  setFixedSize(std::max(hint.width(), static_cast<int>(std::lround(kDialogWidthUnits * unit))), hint.height());
}

// --- the stored form and its fields ---------------------------------------

std::string CCleavoraDlg::FilePath() {
  return OnDialogThread([this] { return CleavoraWindowModel::FilePath(); });
}

int64_t CCleavoraDlg::LinesPerPiece() {
  if (onSplitWorker) return workerPieceSize_.load(std::memory_order_relaxed);
  return CleavoraWindowModel::LinesPerPiece();
}

void CCleavoraDlg::PublishPieceSize() {
  workerPieceSize_.store(CleavoraWindowModel::LinesPerPiece(), std::memory_order_relaxed);
}

void CCleavoraDlg::SetFilePath(const std::string& path) {
  OnDialogThread([&] { CleavoraWindowModel::SetFilePath(path); });
}

void CCleavoraDlg::SetLinesPerPiece(int64_t lines) {
  OnDialogThread([&] {
    CleavoraWindowModel::SetLinesPerPiece(lines);
    if (actionDepth_ == 0) PublishPieceSize();
  });
}

void CCleavoraDlg::SetStatusText(const std::string& text) {
  OnDialogThread([&] { CleavoraWindowModel::SetStatusText(text); });
}

void CCleavoraDlg::TakeFields() {
  CleavoraFields& fields = Fields();
  // A path shown and left alone keeps its bytes, even ones Unicode can't hold.
  const QString path = pathField_->text();
  if (path != suite::FromPath(fields.filePath)) fields.filePath = suite::ToPath(path);
  fields.linesPerPiece = suite::ToCodePage(pieceSizeField_->text());
  // The status line is read-only: its field holds exactly what it shows.
}

void CCleavoraDlg::MirrorFields() {
  CleavoraFields& fields = Fields();
  const QString path = suite::FromPath(fields.filePath);
  if (pathField_->text() != path) pathField_->setText(path);
  statusLine_->SetMessage(suite::FromCodePage(fields.statusText));
  // A piece size typed but not yet applied stays until the next read: the
  // worker refreshes the form after every piece, and would wipe it at once.
  if (pieceSizeField_->isModified()) {
    fields.linesPerPiece = suite::ToCodePage(pieceSizeField_->text());
  } else {
    const QString lines = suite::FromCodePage(fields.linesPerPiece);
    if (pieceSizeField_->text() != lines) pieceSizeField_->setText(lines);
  }
}

bool CCleavoraDlg::ReadForm() {
  return OnDialogThread([this] {
    TakeFields();
    pieceSizeField_->setModified(false);
    const bool valid = CleavoraWindowModel::ReadForm();
    if (actionDepth_ == 0) PublishPieceSize();
    return valid;
  });
}

void CCleavoraDlg::ReadPathField() {
  OnDialogThread([this] {
    TakeFields();
    CleavoraWindowModel::ReadPathField();
  });
}

void CCleavoraDlg::ShowForm() {
  OnDialogThread([this] {
    CleavoraWindowModel::ShowForm();
    MirrorFields();
  });
}

void CCleavoraDlg::ShowStatusLine(const std::string& text) {
  OnDialogThread([&] {
    CleavoraWindowModel::ShowStatusLine(text);
    statusLine_->SetMessage(suite::FromCodePage(text));
  });
}

void CCleavoraDlg::ReportValidation(const std::string& message) {
  CleavoraWindowModel::ReportValidation(message);
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Cleavora"), suite::FromCodePage(message), QMessageBox::Ok,
                  this);
  suite::UseChineseButtonTexts(box);
  box.exec();
  pieceSizeField_->setFocus();
  pieceSizeField_->selectAll();
}

// --- states, title, focus, chooser ------------------------------------------

void CCleavoraDlg::EnableInput(bool enable) {
  OnDialogThread([this, enable] {
    CleavoraWindowModel::EnableInput(enable);
    pathField_->setReadOnly(!enable);
    chooseButton_->setEnabled(enable);
    startButton_->setEnabled(enable);
  });
}

bool CCleavoraDlg::InputEnabled() {
  return OnDialogThread([this] { return CleavoraWindowModel::InputEnabled(); });
}

void CCleavoraDlg::SetTitle(const std::string& title) {
  OnDialogThread([&] {
    CleavoraWindowModel::SetTitle(title);
    setWindowTitle(suite::FromCodePage(title));
  });
}

void CCleavoraDlg::FocusPathField(PathSelection selection) {
  OnDialogThread([this, selection] {
    CleavoraWindowModel::FocusPathField(selection);
    pathField_->setFocus();
    if (selection == PathSelection::All) {
      pathField_->selectAll();
    } else {
      pathField_->deselect();
    }
  });
}

std::optional<std::string> CCleavoraDlg::ChooseFile(const FileChooserRequest& request) {
  return OnDialogThread([&]() -> std::optional<std::string> {
    CleavoraWindowModel::ChooseFile(request);
    QFileDialog chooser(this, suite::FromCodePage(request.title), suite::FromPath(request.startDirectory));
    chooser.setObjectName(QStringLiteral("fileChooser"));
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    chooser.setFileMode(request.existingFileOnly ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    chooser.setDefaultSuffix(suite::FromCodePage(request.defaultExtension));
    QStringList filters;
    for (const FileChooserRequest::Filter& filter : request.filters) filters << NameFilter(filter);
    chooser.setNameFilters(filters);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return std::nullopt;
    return suite::ToPath(chooser.selectedFiles().constFirst());
  });
}

// --- the worker ---------------------------------------------------------------

int CCleavoraDlg::_thr_split() {
  onSplitWorker = true;
  return RunSplit(*this, state_);
}

void CCleavoraDlg::StartSplitWorker() {
  OnDialogThread([this] {
    CleavoraWindowModel::StartSplitWorker();
    // The last worker has enabled input as its last call: it is ending.
    WaitForWorker();
    worker_.reset(QThread::create([this] { _thr_split(); }));
    worker_->start();
  });
}

bool CCleavoraDlg::SplitRunning() const { return worker_ != nullptr && !worker_->isFinished(); }

void CCleavoraDlg::WaitForWorker() {
  // The worker may be waiting for a call on this thread: serve those calls
  // (never the user's input) until its thread has ended. A call served here
  // may close the dialog and wait in turn; then the worker is gone.
  while (worker_ != nullptr && !worker_->wait(QDeadlineTimer(5))) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  worker_.reset();
}

void CCleavoraDlg::StopWorker() {
  if (SplitRunning()) state_.RequestStop();
  WaitForWorker();
}

void CCleavoraDlg::done(int result) {
  StopWorker();
  QDialog::done(result);
}

// --- user actions -------------------------------------------------------------

void CCleavoraDlg::OnBtnChooseFile() {
  ActionScope scope(*this);
  cleavora::OnBtnChooseFile(*this, state_);
}

void CCleavoraDlg::OnBtnStartSplit() {
  ActionScope scope(*this);
  cleavora::OnBtnStartSplit(*this);
}

void CCleavoraDlg::OnBtnOpenDirectory() { cleavora::OnBtnOpenDirectory(shell_, state_); }

void CCleavoraDlg::OnBtnApply() {
  ActionScope scope(*this);
  cleavora::OnBtnApply(*this, state_);
}

}  // namespace cleavora
