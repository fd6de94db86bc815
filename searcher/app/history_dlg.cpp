#include "searcher/app/history_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <chrono>
#include <thread>

#include "common/thread_priority.h"
#include "searcher/app/gui_call.h"
#include "searcher/report/report_list_ctrl.h"
#include "widgets/blank_caption.h"
#include "widgets/dialog_colours.h"
#include "widgets/hand_button.h"
#include "widgets/message_box_texts.h"
#include "widgets/qt_text.h"
#include "widgets/screen_fit.h"

namespace lorvane {
namespace {

const QColor kDialogTextColour(100, 100, 155);

QString BoxText(const std::string& text) {
  QString shown = suite::FromCodePage(text);
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return shown;
}

}  // namespace

CHistoryDlg::CHistoryDlg(const std::string& workDirectory, suite::DesktopShell& shell, QWidget* parent)
    : QDialog(parent), browser_(workDirectory), shell_(shell) {
  BuildControls();
  qApp->installEventFilter(this);
  browser_.InitDialog(*this);
}

CHistoryDlg::~CHistoryDlg() {
  closing_ = true;
  qApp->removeEventFilter(this);
  // A listing may be waiting for a call on this thread: carry it out, then
  // the worker drops the rest and ends.
  while (threadsAlive_.load() > 0) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void CHistoryDlg::BuildControls() {
  QFont font = this->font();
  font.setFamilies({"WenQuanYi Micro Hei", "Noto Sans CJK SC", font.family()});
  font.setPointSize(9);
  setFont(font);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  // No caption: an empty title would show the program's name.
  suite::SetBlankCaption(*this);
  suite::ApplyDialogColours(this, kDialogTextColour);

  summaryBox_ = new QPlainTextEdit;
  summaryBox_->setReadOnly(true);
  summaryBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
  summaryBox_->setFixedHeight(150);

  auto button = [](const char* caption) { return new suite::HandButton(QString::fromUtf8(caption)); };
  restoreButton_ = button("恢复历史情境");
  rootButton_ = button("打开根目录");
  deleteButton_ = button("删  除");
  refreshButton_ = button("刷  新");
  cancelButton_ = button("取  消");
  restoreButton_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* each : {restoreButton_, rootButton_, deleteButton_, refreshButton_, cancelButton_}) {
    buttons->addWidget(each);
  }

  list_ = new CReportListCtrl;
  list_->SetSingleSelection(true);
  list_->SetAlwaysShowSelection(true);
  // The listing hides the list for a moment; the dialog keeps its shape.
  QSizePolicy policy = list_->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  list_->setSizePolicy(policy);

  statusLine_ = new QLineEdit;
  statusLine_->setReadOnly(true);

  auto* page = new QVBoxLayout(this);
  page->addWidget(summaryBox_);
  page->addLayout(buttons);
  page->addWidget(list_, 1);
  page->addWidget(statusLine_);
  suite::FitOnScreen(this, QSize(760, 600));

  connect(restoreButton_, &QPushButton::clicked, this, [this] { accept(); });
  connect(rootButton_, &QPushButton::clicked, this, [this] { browser_.OpenWorkDirectory(shell_); });
  connect(deleteButton_, &QPushButton::clicked, this, [this] { browser_.DeleteHistory(*this); });
  connect(refreshButton_, &QPushButton::clicked, this, [this] { StartFill(); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { reject(); });
  connect(list_, &CReportListCtrl::rowClicked, this, [this] { browser_.ShowHistoryDetails(*this); });
  connect(list_, &CReportListCtrl::currentRowMoved, this, [this] { browser_.ShowHistoryDetails(*this); });
  connect(list_, &CReportListCtrl::rowDoubleClicked, this, [this](int row) {
    if (row < 0) return;  // the empty part of the list restores nothing
    browser_.ShowHistoryDetails(*this);
    accept();
  });
}

bool CHistoryDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_F2: reject(); return true;  // the key that opened the browser closes it
    case Qt::Key_F1:
    case Qt::Key_F3:
    case Qt::Key_F4:
    case Qt::Key_F12: return true;
    default: return false;
  }
}

template <typename Function>
void CHistoryDlg::OnGui(Function&& function) {
  RunOnGui(this, closing_, std::forward<Function>(function));
}

void CHistoryDlg::ListSetHighlightMode(int mode) {
  OnGui([&] { list_->SetHighlightMode(mode); });
}

void CHistoryDlg::ListSetColumnsFromText(const std::string& record, int count) {
  OnGui([&] { list_->SetColumnsFromText(record, count); });
}

void CHistoryDlg::ListSetAlternateRowShading(bool on) {
  OnGui([&] { list_->SetAlternateRowShading(on); });
}

void CHistoryDlg::ListSetDetailsOnDoubleClick(bool on) {
  OnGui([&] { list_->SetDetailsOnDoubleClick(on); });
}

void CHistoryDlg::ListSetDoubleClickHandler(std::function<void(const std::string&)> handler) {
  OnGui([&] { list_->SetDoubleClickHandler(std::move(handler)); });
}

void CHistoryDlg::ListDeleteAllRows() {
  OnGui([&] { list_->DeleteAllRows(); });
}

void CHistoryDlg::ListAddRowFromText(const std::string& record, char separator) {
  OnGui([&] { list_->AddRowFromText(record, separator); });
}

void CHistoryDlg::ListAutoSizeColumns(int column) {
  OnGui([&] { list_->AutoSizeColumns(column); });
}

bool CHistoryDlg::ListSortByColumnText(int column, bool ascending, int first, int last) {
  bool sorted = false;
  OnGui([&] { sorted = list_->SortByColumnText(column, ascending, first, last); });
  return sorted;
}

int CHistoryDlg::ListRowCount() {
  int count = 0;
  OnGui([&] { count = list_->GetRowCount(); });
  return count;
}

void CHistoryDlg::ListSetCurrentRow(int row) {
  OnGui([&] { list_->SetCurrentRow(row); });
}

int CHistoryDlg::ListCurrentRow() {
  int row = -1;
  OnGui([&] { row = list_->GetCurrentRow(); });
  return row;
}

std::string CHistoryDlg::ListCurrentRowText(char separator) {
  std::string text;
  OnGui([&] { text = list_->GetCurrentRowText(separator); });
  return text;
}

void CHistoryDlg::ListSetRowData(int row, std::intptr_t data) {
  OnGui([&] { list_->SetRowData(row, data); });
}

std::intptr_t CHistoryDlg::ListRowData(int row) {
  std::intptr_t data = 0;
  OnGui([&] { data = list_->GetRowData(row); });
  return data;
}

void CHistoryDlg::ListSelectAndFocusRow(int row) {
  OnGui([&] {
    list_->SelectAndFocusRow(row);
    list_->setFocus();  // the listing ends with the keys on the list
  });
}

void CHistoryDlg::ShowList(bool shown) {
  OnGui([&] { list_->setVisible(shown); });
}

void CHistoryDlg::EnableControls(bool enable) {
  OnGui([&] {
    for (QWidget* control : std::initializer_list<QWidget*>{restoreButton_, deleteButton_, refreshButton_,
                                                            cancelButton_, list_, summaryBox_}) {
      control->setEnabled(enable);
    }
  });
}

void CHistoryDlg::SetSummary(const std::string& text) {
  OnGui([&] { summaryBox_->setPlainText(BoxText(text)); });
}

void CHistoryDlg::SetHistoryStatus(const std::string& text) {
  OnGui([&] {
    statusText_ = text;
    RefreshForm();
  });
}

void CHistoryDlg::RefreshForm() { statusLine_->setText(suite::FromCodePage(statusText_)); }

void CHistoryDlg::ShowMessage(const std::string& text) {
  OnGui([&] {
    QMessageBox box(QMessageBox::NoIcon, windowTitle(), BoxText(text), QMessageBox::Ok, this);
    suite::UseChineseButtonTexts(box);
    box.exec();
  });
}

void CHistoryDlg::StartFill() {
  fillRequested_ = true;
  // A listing that runs takes the request over when it ends.
  if (workerRunning_.exchange(true)) return;
  ++threadsAlive_;
  std::thread([this] {
    suite::RunAtIdlePriority();  // listing never slows the desktop down
    for (;;) {
      while (fillRequested_.exchange(false) && !closing_) browser_.FillHistoryList(*this);
      workerRunning_ = false;
      if (closing_ || !fillRequested_ || workerRunning_.exchange(true)) break;
    }
    --threadsAlive_;  // the last touch of the dialog
  }).detach();
}

void BrowseHistory(QWidget* parent, const std::string& workDirectory, suite::DesktopShell& shell,
                   const std::function<void(const std::string&)>& restore) {
  CHistoryDlg dialog(workDirectory, shell, parent);
  if (dialog.exec() != QDialog::Accepted) return;
  restore(dialog.SelectedDescriptor());
}

}  // namespace lorvane
