#include "searcher/app/lorvane_dlg.h"

#include <QApplication>
#include <QThread>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "common/path_util.h"
#include "common/terminal.h"
#include "searcher/app/drop_rules.h"
#include "searcher/app/history_dlg.h"
#include "searcher/app/splash_dlg.h"
#include "searcher/engine/auto_load.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/result_paging.h"
#include "searcher/engine/search_update.h"
#include "searcher/engine/virtual_page.h"
#include "searcher/history/result_load.h"
#include "widgets/color_list_box.h"
#include "widgets/colour_label.h"
#include "widgets/dialog_colours.h"
#include "widgets/file_drops.h"
#include "widgets/hand_button.h"
#include "widgets/list_choice.h"
#include "widgets/program_art.h"
#include "widgets/qt_text.h"
#include "widgets/repaint_throttle.h"
#include "widgets/screen_fit.h"

namespace lorvane {

const char* const LVN_MAIN_TITLE_M = "Lorvane v4.5.3 (基于行的)超大日志极速搜索/查看器";

namespace {

const QColor kLabelColour(0, 75, 0);
const QColor kHintColour(0, 0, 255);
const QColor kDialogTextColour(100, 100, 155);

QFrame* GroupFrame(QLayout* content) {
  auto* frame = new QFrame;
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setLayout(content);
  return frame;
}

// Hints, the help label and button, the slider and the progress bar come and
// go; the rows keep their height and the controls beside them stay put.
void KeepSpaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

// A figure or status line: its text can be selected with the mouse, and Tab
// passes it by on its way to the fields a user types into.
QLineEdit* ReadOnlyEdit(bool framed = true, bool right = false) {
  auto* edit = new QLineEdit;
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::ClickFocus);
  edit->setFrame(framed);
  if (right) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return edit;
}

}  // namespace

CLorvaneDlg::CLorvaneDlg(const CommandLineRequest& request, suite::DesktopShell& shell, QWidget* parent)
    : QDialog(parent), request_(request), shell_(shell) {
  BuildControls();
  Initiate();
}

CLorvaneDlg::~CLorvaneDlg() {
  // Workers' calls are dropped from now on; a worker caught in a call that
  // waits is served, so every worker can finish before the window goes.
  closing_ = true;
  qApp->removeEventFilter(this);
  while (runningWorkers_.load() > 0) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
}

void CLorvaneDlg::BuildControls() {
  QFont font = this->font();
  font.setFamilies({"WenQuanYi Micro Hei", "Noto Sans CJK SC", font.family()});
  font.setPointSize(9);
  setFont(font);
  const QIcon icon = suite::ProgramIcon(suite::kLorvaneMark);
  setWindowIcon(icon);
  setWindowFlags(Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
  suite::ApplyDialogColours(this, kDialogTextColour);
  // A file dropped anywhere, on a field too, is the window's drop.
  new suite::FileDrops(this, [this] { return acceptsDrops_.load(); },
                       [this](const std::vector<std::string>& paths) { OnDropPath(paths.front()); });
  throttle_ = new suite::RepaintThrottle(this, kRepaintInterval);
  throttle_->SetBeforePaint([this] { LayOutChangedLists(); });
  viewSync_ = new QTimer(this);
  viewSync_->setSingleShot(true);
  connect(viewSync_, &QTimer::timeout, this, [this] { SyncViews(); });

  auto label = [](const char* text) { return new suite::ColourLabel(QString::fromUtf8(text), kLabelColour); };
  auto hint = [this](const char* text) {
    auto* hintLabel = new suite::ColourLabel(QString::fromUtf8(text), kHintColour);
    KeepSpaceWhenHidden(hintLabel);
    helpHints_.push_back(hintLabel);
    return hintLabel;
  };
  auto button = [this](const char* text) {
    auto* pushButton = new suite::HandButton(QString::fromUtf8(text));
    buttons_.push_back(pushButton);
    return pushButton;
  };

  // The two top rows: file and keyword, with their figures.
  filePathEdit_ = ReadOnlyEdit();
  filePathEdit_->setObjectName("filePathEdit");
  sizeEdit_ = ReadOnlyEdit(false);
  totalLinesEdit_ = ReadOnlyEdit(false, true);
  keywordEdit_ = new QLineEdit;
  readLinesEdit_ = ReadOnlyEdit(false);
  resultsEdit_ = ReadOnlyEdit(false, true);
  keywordEdit_->setObjectName("keywordEdit");
  readLinesEdit_->setObjectName("readLinesEdit");
  resultsEdit_->setObjectName("resultsEdit");
  QPushButton* chooseButton = button("选择文件");
  QPushButton* startButton = button("开始搜索");
  startButton->setDefault(true);
  auto* top = new QGridLayout;
  top->addWidget(label("文件路径:"), 0, 0);
  top->addWidget(filePathEdit_, 0, 1);
  top->addWidget(chooseButton, 0, 2);
  top->addWidget(label("=>"), 0, 3);
  top->addWidget(sizeEdit_, 0, 4);
  top->addWidget(totalLinesEdit_, 0, 5);
  top->addWidget(label("关键字:"), 1, 0);
  top->addWidget(keywordEdit_, 1, 1);
  top->addWidget(startButton, 1, 2);
  top->addWidget(label("=>"), 1, 3);
  top->addWidget(readLinesEdit_, 1, 4);
  top->addWidget(resultsEdit_, 1, 5);
  top->setColumnStretch(1, 1);
  top->setColumnMinimumWidth(4, 130);
  top->setColumnMinimumWidth(5, 130);

  // The logo and the match-case box.
  matchCaseBox_ = new QCheckBox(QString::fromUtf8("匹配大小写"));
  auto* logo = new QLabel;
  logo->setPixmap(icon.pixmap(32, 32));
  auto* logoBox = new QGridLayout;
  logoBox->addWidget(hint("标志图案:"), 0, 0);
  logoBox->addWidget(logo, 0, 1, 2, 1);
  logoBox->addWidget(matchCaseBox_, 1, 0);
  auto* header = new QHBoxLayout;
  header->addWidget(GroupFrame(top), 1);
  header->addWidget(GroupFrame(logoBox));

  // The status area.
  auto* statusBox = new QVBoxLayout;
  statusBox->setSpacing(0);
  for (auto*& edit : statusEdits_) {
    edit = ReadOnlyEdit(false);
    statusBox->addWidget(edit);
  }

  // The three lists.
  resultFileList_ = new QListWidget;
  resultFileList_->setMaximumWidth(130);
  resultList_ = new QListWidget;
  resultFileList_->setObjectName("resultFileList");
  resultList_->setObjectName("resultList");
  resultList_->setUniformItemSizes(true);
  resultFileList_->setUniformItemSizes(true);
  virtualPageList_ = new suite::CColorListBox;
  QPushButton* continueButton = button("继续搜索(F8)");
  QPushButton* readPageButton = button("阅读[搜索结果]页面 (F3)");
  auto* lists = new QGridLayout;
  lists->addWidget(label("结果文件列表:"), 0, 0);
  auto* resultsHeader = new QHBoxLayout;
  resultsHeader->addWidget(label("搜索结果:"));
  resultsHeader->addWidget(
      hint("单击结果文件列表项 => 在搜索结果列表中显示该文件中所有的行(缺省显示第一个结果文件的内容)"), 1);
  lists->addLayout(resultsHeader, 0, 1);
  lists->addWidget(resultFileList_, 1, 0, 3, 1);
  lists->addWidget(resultList_, 1, 1);
  auto* pageHeader = new QHBoxLayout;
  pageHeader->addWidget(label("虚页面:"));
  pageHeader->addWidget(hint("单击搜索结果列表项 => 显示该行所在的虚页面"), 1);
  pageHeader->addWidget(continueButton);
  pageHeader->addWidget(readPageButton);
  lists->addLayout(pageHeader, 2, 1);
  lists->addWidget(virtualPageList_, 3, 1);
  lists->setRowStretch(1, 3);
  lists->setRowStretch(3, 2);

  // Settings and viewing.
  halfPageEdit_ = new QLineEdit;
  halfPageEdit_->setObjectName("halfPageEdit");
  halfPageEdit_->setMaximumWidth(60);
  startLineEdit_ = new QLineEdit;
  startLineEdit_->setObjectName("startLineEdit");
  startLineEdit_->setMaximumWidth(90);
  offsetEdit_ = new QLineEdit;
  offsetEdit_->setObjectName("offsetEdit");
  offsetEdit_->setMaximumWidth(60);
  startLineSlider_ = new QSlider(Qt::Horizontal);
  startLineSlider_->setTickPosition(QSlider::TicksBelow);
  KeepSpaceWhenHidden(startLineSlider_);
  startLineSlider_->hide();
  QPushButton* applyButton = button("使用该值");
  QPushButton* editPageButton = button("编辑虚页面(F4)");
  helpLabel_ = new suite::ColourLabel(QString::fromUtf8("帮助信息(F1)"), kHintColour);
  KeepSpaceWhenHidden(helpLabel_);
  helpLabel_->hide();
  helpButton_ = button("帮助信息(F1)");
  KeepSpaceWhenHidden(helpButton_);
  helpButton_->hide();
  QPushButton* viewButton = button("查看内容");
  QPushButton* rootButton = button("打开根目录(F12)");
  QPushButton* historyButton = button("搜索历史(F2)");
  QPushButton* clipboardButton = button("搜索剪贴板(F6)");
  auto* settings = new QGridLayout;
  auto* settingsRow = new QHBoxLayout;
  settingsRow->addWidget(label("设置=>          单击表项时，显示该行所在的虚页面，虚页面是该行上下多少行:"));
  settingsRow->addWidget(halfPageEdit_);
  settingsRow->addWidget(applyButton);
  settingsRow->addWidget(editPageButton);
  settingsRow->addStretch(1);
  settingsRow->addWidget(helpLabel_);
  settingsRow->addWidget(helpButton_);
  auto* viewRow = new QHBoxLayout;
  viewRow->addWidget(label("查看=> 起始行号:"));
  viewRow->addWidget(startLineEdit_);
  viewRow->addWidget(startLineSlider_, 1);
  viewRow->addWidget(label("偏移量:"));
  viewRow->addWidget(offsetEdit_);
  viewRow->addWidget(viewButton);
  viewRow->addWidget(rootButton);
  viewRow->addWidget(historyButton);
  viewRow->addWidget(clipboardButton);
  settings->addLayout(settingsRow, 0, 0);
  settings->addLayout(viewRow, 1, 0);

  // The bottom strip: five hints, or the progress bar while a worker runs.
  progressBar_ = new QProgressBar;
  progressBar_->setTextVisible(false);
  KeepSpaceWhenHidden(progressBar_);
  progressBar_->hide();
  auto* bottom = new QGridLayout;
  bottom->addWidget(hint("> 虚页面中包含关键字的行用蓝色和绿色显示"), 0, 0);
  bottom->addWidget(hint("> 单击搜索结果列表项，将其除了行号之外的内容复制到剪贴板中"), 0, 1);
  bottom->addWidget(hint("> 搜索结果>2000行 => 保存到多个结果文件"), 1, 0);
  bottom->addWidget(hint("> 本软件要求目标文件在快速预读之后不被改变"), 1, 1);
  bottom->addWidget(hint("> 目标文件增长后 => 继续搜索(F8) 只搜索新增的内容，结果接在原来的结果之后"), 2, 0, 1, 2);
  bottom->addWidget(progressBar_, 0, 0, 3, 2);

  auto* page = new QVBoxLayout(this);
  page->addLayout(header);
  page->addLayout(statusBox);
  page->addLayout(lists, 1);
  page->addWidget(GroupFrame(settings));
  page->addLayout(bottom);
  // Resizable: the lists and the virtual page take the room, the rows of
  // controls keep their height, and hidden hints keep their space, so nothing
  // moves while hints blink or a worker runs. Down to three rows a list, the
  // window fits a 1366x768 screen at 150 % with a panel and a caption.
  const int threeRows = 3 * (fontMetrics().height() + 2) + 2 * resultList_->frameWidth();
  resultList_->setMinimumHeight(threeRows);
  virtualPageList_->setMinimumHeight(threeRows);
  suite::FitOnScreen(this, QSize(1000, 720));

  // Actions.
  connect(chooseButton, &QPushButton::clicked, this, [this] { OnBtnChooseFile(); });
  connect(startButton, &QPushButton::clicked, this, [this] { OnBtnStartSearch(*this); });
  connect(applyButton, &QPushButton::clicked, this, [this] { OnBtnUseExtent(*this); });
  connect(viewButton, &QPushButton::clicked, this, [this] { OnBtnLookAtContent(*this, context_); });
  connect(rootButton, &QPushButton::clicked, this, [this] { suite::OpenFolderInExplorer(shell_, context_.workDirectory); });
  connect(helpButton_, &QPushButton::clicked, this, [this] { ToggleHelpHints(); });
  connect(editPageButton, &QPushButton::clicked, this, [this] { EditVirtualPage(*this, context_); });
  connect(readPageButton, &QPushButton::clicked, this, [this] { ReadResultPage(*this); });
  connect(clipboardButton, &QPushButton::clicked, this, [this] { StartWorker(Worker::LoadClipboard); });
  connect(continueButton, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F8); });
  connect(historyButton, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F2); });
  suite::OnEntryChosen(resultFileList_, [this] { OnSelectResultFile(); });
  suite::OnEntryChosen(resultList_, [this] { OnSelectResultLine(); });
  connect(startLineSlider_, &QSlider::sliderReleased, this, [this] {
    ReadForm();
    form_.startLine = startLineSlider_->value();
    RefreshForm();
  });
  qApp->installEventFilter(this);
}

void CLorvaneDlg::Initiate() {
  RefreshForm();
  ShowSplash();
  StartUpEngine(*this, context_, ProgramFiles());
  setWindowTitle(QString::fromUtf8(LVN_MAIN_TITLE_M));
  startLineSlider_->hide();
  keywordEdit_->setFocus();  // what a user types first
  if (request_.autoLoad && request_.autoSearch) {
    // The keyword comes as the arguments' text (the locale's; UTF-8 on
    // Windows); one the code page can't hold stands in its edit as given, and
    // the search after the pre-read refuses it.
    const auto utf8 = suite::ConvertExactly("UTF-8", suite::ArgumentCharset().c_str(), request_.keyword);
    const QString typed = utf8 ? QString::fromStdString(*utf8) : QString::fromLocal8Bit(request_.keyword.c_str());
    const auto keyword = suite::Utf8ToCodePageExactly(suite::ActiveCodePage(), typed.toStdString());
    AutoLoad(*this, request_.targetPath, keyword ? *keyword : suite::ToCodePage(typed), request_.matchCase);
    if (!keyword) {
      form_.keywordFits = false;
      keywordEdit_->setText(typed);
    }
    helpButton_->show();
  } else {
    StartGlint();
    // A file alone ("open with"): taken as the file chooser takes one.
    if (request_.autoLoad) OpenFile(request_.targetPath);
  }
  RefreshForm();
}

void CLorvaneDlg::StartGlint() {
  // Seven toggles of the hints, five blinks of the help label, then the help button.
  auto step = std::make_shared<int>(0);
  auto* timer = new QTimer(this);
  timer->setInterval(200);
  PostStatus("CLorvaneDlg::_thr_glint_help_info()");
  connect(timer, &QTimer::timeout, this, [this, step, timer] {
    const int at = (*step)++;
    if (at < 7) {
      ToggleHelpHints();
    } else if (at < 17) {
      helpLabel_->setVisible((at - 7) % 2 == 0);
    } else {
      helpLabel_->hide();
      helpButton_->show();
      timer->stop();
      timer->deleteLater();
    }
  });
  ToggleHelpHints();
  *step = 1;
  timer->start();
}

void CLorvaneDlg::ShowHelpHints(bool shown) {
  for (QWidget* hintLabel : helpHints_) hintLabel->setVisible(shown);
}

void CLorvaneDlg::ToggleHelpHints() {
  ShowHelpHints(hintsNextShown_);
  hintsNextShown_ = !hintsNextShown_;
}

bool CLorvaneDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key == Qt::Key_Escape) {
    CloseRequest();
    return true;
  }
  if (!controlsEnabled_) return false;
  return HandleKey(key);
}

bool CLorvaneDlg::HandleKey(int key) {
  switch (key) {
    case Qt::Key_F1: ToggleHelpHints(); return true;
    case Qt::Key_F2:
      BrowseHistory(this, context_.workDirectory, shell_, [this](const std::string& path) { toResultLoad(path); });
      return true;
    case Qt::Key_F3: ReadResultPage(*this); return true;
    case Qt::Key_F4: EditVirtualPage(*this, context_); return true;
    case Qt::Key_F5: ShowQuickIndex(); return true;
    case Qt::Key_F6: StartWorker(Worker::LoadClipboard); return true;
    case Qt::Key_F8: OnContinueSearchKey(*this, context_); return true;
    case Qt::Key_F9: OnBtnChooseFile(); return true;
    case Qt::Key_F11: ShowSplash(); return true;
    case Qt::Key_F12: suite::OpenFolderInExplorer(shell_, context_.workDirectory); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: OnBtnStartSearch(*this); return true;
    default: return false;
  }
}

void CLorvaneDlg::ShowQuickIndex() {
  const std::string text = QuickIndexText(context_.quickIndex);
  if (!text.empty()) ShowTextDialog(text);
}

void CLorvaneDlg::OnBtnChooseFile() {
  ReadForm();
  QStringList filters;
  for (const std::string& extension : context_.extensions) {
    const QString e = QString::fromStdString(extension);
    filters << QString("%1 (*.%1)").arg(e);
  }
  filters << QFileDialog::tr("All Files (*)");  // Qt's own filter of all files, in Chinese
  // A portable copy starts where it lies (its logs often lie beside it), an
  // installed one in the current folder.
  const std::string start = suite::KeepsFilesBesideProgram(suite::ReadPlaceFacts()) ? suite::GetModuleDirectory()
                                                                                      : suite::CurrentDirectory();
  QFileDialog dialog(this, "Open for Viewer", suite::FromPath(start));
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix("txt");
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  OpenFile(suite::ToPath(dialog.selectedFiles().front()));
}

void CLorvaneDlg::OpenFile(const std::string& path) {
  form_.filePath = path;
  RefreshForm();
  if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".lvn") == 0) {
    toResultLoad(path);
    RefreshForm();
    return;
  }
  SelectAllText(EditControl::FilePath);
  SelectAllText(EditControl::Keyword);
  FocusEdit(EditControl::Keyword);
  if (suite::PathExists(path)) StartWorker(Worker::QuickPreRead);
}

void CLorvaneDlg::toResultLoad(const std::string& path) { ResultLoad(*this, context_, path); }

void CLorvaneDlg::OnDropPath(const std::string& path) {
  if (!acceptsDrops_) return;
  form_.filePath = path;
  const DropDecision decision = ClassifyDrop(path, context_.extensions);
  if (decision.kind == DropKind::RefusedType) {
    PostStatus(suite::Cp("不将接受类型为“") + suite::PathText(decision.quoted) + suite::Cp("”的文件"));
    return;
  }
  if (decision.kind == DropKind::UnhandledType) {
    PostStatus(suite::Cp("不处理类型为“") + suite::PathText(decision.quoted) + suite::Cp("”的文件"));
    return;
  }
  SelectAllText(EditControl::FilePath);
  SelectAllText(EditControl::Keyword);
  FocusEdit(EditControl::Keyword);
  if (decision.kind == DropKind::Restore) {
    toResultLoad(path);
    RefreshForm();
    return;
  }
  PostStatus(suite::Cp("接受到一个拖放文件: ") + suite::PathText(path));
  RefreshForm();
  if (suite::PathExists(path)) StartWorker(Worker::QuickPreRead);
}

void CLorvaneDlg::CloseRequest() {
  ++closePresses_;
  if (closePresses_ >= 2) {
    closing_ = true;
    done(QDialog::Rejected);
    return;
  }
  setWindowTitle(QString::fromUtf8(LVN_MAIN_TITLE_M) + QString::fromUtf8(" [重复以退出]"));
  QTimer::singleShot(1000, this, [this] {
    setWindowTitle(QString::fromUtf8(LVN_MAIN_TITLE_M));
    closePresses_ = 0;
  });
}

void CLorvaneDlg::reject() { CloseRequest(); }

void CLorvaneDlg::accept() {}

void CLorvaneDlg::closeEvent(QCloseEvent* event) {
  closing_ = true;
  event->accept();
  done(QDialog::Rejected);
}

}  // namespace lorvane
