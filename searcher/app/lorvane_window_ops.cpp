// CLorvaneDlg's side of the window interface: each call whole, on the window's thread.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <thread>

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "common/thread_priority.h"
#include "common/time_text.h"
#include "searcher/app/gui_call.h"
#include "searcher/app/lorvane_dlg.h"
#include "searcher/app/notepad_dlg.h"
#include "searcher/app/splash_dlg.h"
#include "searcher/engine/clipboard_search.h"
#include "searcher/engine/keyword_search.h"
#include "searcher/engine/quick_pre_read.h"
#include "searcher/engine/result_paging.h"
#include "searcher/engine/search_update.h"
#include "searcher/engine/virtual_page.h"
#include "widgets/clipboard_text.h"
#include "widgets/color_list_box.h"
#include "widgets/entry_text.h"
#include "widgets/qt_text.h"

namespace lorvane {
namespace {

int64_t NumberOf(const QString& text, int64_t fallback) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok);
  return ok ? value : fallback;
}

// The list entry keeps the engine's bytes, whole; the row shows a bounded part.
constexpr int kBytesRole = Qt::UserRole + 7;

QListWidgetItem* MakeItem(const std::string& text, suite::CodePage codePage) {
  auto* item = new QListWidgetItem(suite::ShownEntryText(text, codePage));
  item->setData(kBytesRole, QByteArray::fromStdString(text));
  return item;
}

// Setting an edit's text resets its cursor and selection and repaints it:
// only a text that changed is set.
void SetEditText(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
}

// Notes a list whose entries changed, once, for the layout before the next paint.
void Remember(std::vector<QListWidget*>& changed, QListWidget* list) {
  if (std::find(changed.begin(), changed.end(), list) == changed.end()) changed.push_back(list);
}

}  // namespace

// Calls that give something back, or that must be over before the worker
// goes on, wait for the window's thread; the others are posted to it and the
// worker goes on at once. Both kinds keep their order, so the window sees
// every call whole and in the order made, and a worker never waits for a
// paint.
#define ON_GUI(body) RunQueuedFirst(this, closing_, posted_, [&] body)

QListWidget* CLorvaneDlg::ListWidget(ListControl list) const {
  switch (list) {
    case ListControl::ResultFiles: return resultFileList_;
    case ListControl::Results: return resultList_;
    case ListControl::VirtualPage: return virtualPageList_;
  }
  return resultList_;
}

QLineEdit* CLorvaneDlg::EditWidget(EditControl edit) const {
  switch (edit) {
    case EditControl::FilePath: return filePathEdit_;
    case EditControl::Keyword: return keywordEdit_;
    case EditControl::HalfPage: return halfPageEdit_;
  }
  return keywordEdit_;
}

void CLorvaneDlg::PostStatus(const std::string& message) {
  // The time is the poster's, not the moment the window takes the line.
  PostToGui(this, closing_, posted_, [this, line = suite::MakeStatusLine(message)] {
    status_.Post(line);
    statusStale_ = true;
    RefreshForm();
  });
}

// A pre-read posts a status line per 10000 lines: the edits take the status
// area and the form at most once per repaint interval, and before anything
// reads them.
void CLorvaneDlg::ScheduleViewSync() {
  if (viewSync_->isActive()) return;
  const qint64 since = sinceViewSync_.isValid() ? sinceViewSync_.elapsed() : kViewSyncIntervalMs;
  if (since >= kViewSyncIntervalMs) {
    SyncViews();
    return;
  }
  viewSync_->start(static_cast<int>(kViewSyncIntervalMs - since));
}

void CLorvaneDlg::SyncViews() {
  viewSync_->stop();
  sinceViewSync_.restart();
  if (statusStale_) {
    statusStale_ = false;
    for (int i = 0; i < 3; ++i) SetEditText(statusEdits_[i], suite::FromCodePage(status_.Lines()[static_cast<size_t>(i)]));
  }
  if (!formStale_) return;
  formStale_ = false;
  SetEditText(filePathEdit_, suite::FromPath(form_.filePath));
  if (form_.keywordFits) SetEditText(keywordEdit_, suite::FromCodePage(form_.keyword));
  matchCaseBox_->setChecked(form_.matchCase);
  SetEditText(sizeEdit_, suite::FromCodePage(form_.sizeText));
  SetEditText(totalLinesEdit_, suite::FromCodePage(form_.totalLinesText));
  SetEditText(readLinesEdit_, suite::FromCodePage(form_.readLinesText));
  SetEditText(resultsEdit_, suite::FromCodePage(form_.resultsText));
  SetEditText(startLineEdit_, QString::number(form_.startLine));
  SetEditText(offsetEdit_, QString::number(form_.offset));
  SetEditText(halfPageEdit_, QString::number(form_.halfPage));
}

void CLorvaneDlg::EnableControls(bool enable, bool progress) {
  PostToGui(this, closing_, posted_, [this, enable, progress] {
    if (!enable && controlsEnabled_) {
      // Disabled controls lose the keyboard focus: it goes back on unlocking.
      focusBeforeLock_ = focusWidget();  // this window's, active or not
    }
    for (QWidget* button : buttons_) button->setEnabled(enable);
    for (QWidget* widget : std::initializer_list<QWidget*>{
             filePathEdit_, sizeEdit_, totalLinesEdit_, keywordEdit_, readLinesEdit_, resultsEdit_, halfPageEdit_,
             startLineEdit_, offsetEdit_, resultFileList_, resultList_, virtualPageList_, matchCaseBox_,
             startLineSlider_, statusEdits_[0], statusEdits_[1], statusEdits_[2]}) {
      widget->setEnabled(enable);
    }
    acceptsDrops_ = enable;
    controlsEnabled_ = enable;
    if (enable) {
      // An edit a worker asked to focus while locked, else the control that
      // had the focus before: a user walks the results with the keys.
      QWidget* focus = focusWanted_ ? focusWanted_.data() : focusBeforeLock_.data();
      focusWanted_ = nullptr;
      focusBeforeLock_ = nullptr;
      if (focus && focus->isEnabled() && focus->isVisible()) focus->setFocus();
    }
    if (progress) {
      if (!enable) {
        if (!hintsNextShown_) {  // the hints are visible: hide them
          ShowHelpHints(false);
          hintsNextShown_ = true;
        }
        progressBar_->show();
      } else {
        progressBar_->hide();
      }
    }
  });
}

void CLorvaneDlg::ResetResultViews() {
  PostToGui(this, closing_, posted_, [this] {
    ReadForm();
    form_.readLinesText.clear();
    form_.resultsText.clear();
    // Emptying runs no selection action: those read the old figures back.
    for (QListWidget* list : {resultFileList_, resultList_, static_cast<QListWidget*>(virtualPageList_)}) {
      const QSignalBlocker quiet(list);
      list->clear();
    }
    RefreshForm();
  });
}

LorvaneForm CLorvaneDlg::ReadForm() {
  LorvaneForm copy;
  ON_GUI({
    SyncViews();  // a refresh not yet shown is in the controls first
    form_.filePath = suite::ToPath(filePathEdit_->text());
    // A keyword the code page can't hold stays in its edit as typed; the
    // form marks it, and the search refuses it.
    const QString keyword = keywordEdit_->text();
    const auto exact = suite::Utf8ToCodePageExactly(suite::ActiveCodePage(), keyword.toStdString());
    form_.keyword = exact ? *exact : suite::ToCodePage(keyword);
    form_.keywordFits = exact.has_value();
    form_.matchCase = matchCaseBox_->isChecked();
    form_.sizeText = suite::ToCodePage(sizeEdit_->text());
    form_.totalLinesText = suite::ToCodePage(totalLinesEdit_->text());
    form_.readLinesText = suite::ToCodePage(readLinesEdit_->text());
    form_.resultsText = suite::ToCodePage(resultsEdit_->text());
    form_.startLine = NumberOf(startLineEdit_->text(), form_.startLine);
    form_.offset = NumberOf(offsetEdit_->text(), form_.offset);
    form_.halfPage = NumberOf(halfPageEdit_->text(), form_.halfPage);
    copy = form_;
  });
  return copy;
}

LorvaneForm CLorvaneDlg::StoredForm() {
  LorvaneForm copy;
  ON_GUI({ copy = form_; });
  return copy;
}

void CLorvaneDlg::RefreshForm() {
  PostToGui(this, closing_, posted_, [this] {
    formStale_ = true;
    ScheduleViewSync();
  });
}

void CLorvaneDlg::SetFormText(FormText field, const std::string& value) {
  PostToGui(this, closing_, posted_, [this, field, value] {
    FieldOf(form_, field) = value;
    if (field == FormText::Keyword) form_.keywordFits = true;  // code-page text from the engine
  });
}

void CLorvaneDlg::SetFormNumber(FormNumber field, int64_t value) {
  PostToGui(this, closing_, posted_, [this, field, value] { FieldOf(form_, field) = value; });
}

void CLorvaneDlg::SetMatchCase(bool on) {
  PostToGui(this, closing_, posted_, [this, on] { form_.matchCase = on; });
}

void CLorvaneDlg::SelectAllText(EditControl edit) {
  PostToGui(this, closing_, posted_, [this, edit] {
    SyncViews();  // a text set later would drop the selection
    EditWidget(edit)->selectAll();
  });
}

void CLorvaneDlg::FocusEdit(EditControl edit) {
  PostToGui(this, closing_, posted_, [this, edit] {
    QLineEdit* widget = EditWidget(edit);
    if (controlsEnabled_) {
      widget->setFocus();
    } else {
      focusWanted_ = widget;  // a disabled edit takes no focus: it gets it on unlocking
    }
  });
}

void CLorvaneDlg::ShowEdit(EditControl edit, bool shown) {
  PostToGui(this, closing_, posted_, [this, edit, shown] { EditWidget(edit)->setVisible(shown); });
}

void CLorvaneDlg::ListClear(ListControl list) {
  PostToGui(this, closing_, posted_, [this, list] {
    QListWidget* widget = ListWidget(list);
    const QSignalBlocker quiet(widget);
    widget->clear();
  });
}

void CLorvaneDlg::LayOutChangedLists() {
  for (QListWidget* list : changedLists_) list->doItemsLayout();
  changedLists_.clear();
}

suite::CodePage CLorvaneDlg::ListCodePage(ListControl list) const {
  return list == ListControl::ResultFiles ? suite::ActiveCodePage() : context_.codePage.load().codePage;
}

void CLorvaneDlg::ListAppend(ListControl list, const std::string& text) {
  // (taken now: a later pre-read may change the target's before the list shows it)
  const suite::CodePage codePage = ListCodePage(list);
  PostToGui(this, closing_, posted_, [this, list, text, codePage] {
    ListWidget(list)->addItem(MakeItem(text, codePage));
    Remember(changedLists_, ListWidget(list));
  });
}

void CLorvaneDlg::ListAppendColoured(ListControl list, const std::string& text, Rgb colour) {
  const suite::CodePage codePage = ListCodePage(list);
  PostToGui(this, closing_, posted_, [this, list, text, colour, codePage] {
    Remember(changedLists_, ListWidget(list));
    if (list != ListControl::VirtualPage) {
      ListWidget(list)->addItem(MakeItem(text, codePage));
      return;
    }
    const int at = virtualPageList_->InsertColoured(-1, suite::ShownEntryText(text, codePage),
                                                    suite::MakeEntryColour(colour.red, colour.green, colour.blue));
    virtualPageList_->item(at)->setData(kBytesRole, QByteArray::fromStdString(text));
  });
}

int64_t CLorvaneDlg::ListCount(ListControl list) {
  int64_t count = 0;
  ON_GUI({ count = ListWidget(list)->count(); });
  return count;
}

std::string CLorvaneDlg::ListText(ListControl list, int64_t index) {
  std::string text;
  ON_GUI({
    if (const QListWidgetItem* item = ListWidget(list)->item(static_cast<int>(index))) {
      text = item->data(kBytesRole).toByteArray().toStdString();
    }
  });
  return text;
}

int64_t CLorvaneDlg::ListSelection(ListControl list) {
  int64_t selection = -1;
  ON_GUI({
    const auto selected = ListWidget(list)->selectedItems();
    if (!selected.isEmpty()) selection = ListWidget(list)->row(selected.front());
  });
  return selection;
}

void CLorvaneDlg::ListSelect(ListControl list, int64_t index) {
  PostToGui(this, closing_, posted_, [this, list, index] {
    QListWidget* widget = ListWidget(list);
    const QSignalBlocker quiet(widget);  // selecting from code runs no action
    widget->setCurrentRow(static_cast<int>(index));
    if (QListWidgetItem* item = widget->item(static_cast<int>(index))) widget->scrollToItem(item);
  });
}

bool CLorvaneDlg::ListSelectText(ListControl list, const std::string& text) {
  bool found = false;
  ON_GUI({
    QListWidget* widget = ListWidget(list);
    for (int i = 0; i < widget->count(); ++i) {
      if (widget->item(i)->data(kBytesRole).toByteArray().toStdString() == text) {
        const QSignalBlocker quiet(widget);
        widget->setCurrentRow(i);
        found = true;
        break;
      }
    }
  });
  return found;
}

void CLorvaneDlg::ListDelete(ListControl list, int64_t index) {
  PostToGui(this, closing_, posted_, [this, list, index] {
    QListWidget* widget = ListWidget(list);
    const QSignalBlocker quiet(widget);
    delete widget->takeItem(static_cast<int>(index));
    Remember(changedLists_, widget);
  });
}

void CLorvaneDlg::ProgressSetRange(int64_t low, int64_t high) {
  PostToGui(this, closing_, posted_, [this, low, high] {
    progressBar_->setRange(static_cast<int>(low), static_cast<int>(std::max(low, high)));
  });
}

void CLorvaneDlg::ProgressSetStep(int64_t step) {
  PostToGui(this, closing_, posted_, [this, step] { progressStep_ = step; });
}

void CLorvaneDlg::ProgressStep() {
  PostToGui(this, closing_, posted_, [this] {
    int next = progressBar_->value() + static_cast<int>(progressStep_);
    if (next > progressBar_->maximum()) next = progressBar_->minimum();
    progressBar_->setValue(next);
  });
}

void CLorvaneDlg::ProgressSetPosition(int64_t position) {
  PostToGui(this, closing_, posted_, [this, position] { progressBar_->setValue(static_cast<int>(position)); });
}

void CLorvaneDlg::SliderShow() {
  PostToGui(this, closing_, posted_, [this] { startLineSlider_->show(); });
}

// A tick at every position of a range of millions would take the window seconds
// to paint; past a few hundred ticks they are spread evenly instead.
void CLorvaneDlg::ApplySliderTicks() {
  constexpr int kMaxTicks = 200;
  const int64_t span = static_cast<int64_t>(startLineSlider_->maximum()) - startLineSlider_->minimum();
  const int64_t spread = span / kMaxTicks + 1;
  startLineSlider_->setTickInterval(static_cast<int>(std::max(sliderTickFrequency_, spread)));
}

void CLorvaneDlg::SliderSetRange(int64_t low, int64_t high) {
  PostToGui(this, closing_, posted_, [this, low, high] {
    constexpr int64_t kMax = 2147483647;
    startLineSlider_->setRange(static_cast<int>(std::min(low, kMax)), static_cast<int>(std::min(std::max(low, high), kMax)));
    ApplySliderTicks();
  });
}

void CLorvaneDlg::SliderSetTickFrequency(int64_t frequency) {
  PostToGui(this, closing_, posted_, [this, frequency] {
    sliderTickFrequency_ = std::max<int64_t>(frequency, 1);
    ApplySliderTicks();
  });
}

void CLorvaneDlg::SliderSetPosition(int64_t position) {
  PostToGui(this, closing_, posted_, [this, position] {
    startLineSlider_->setValue(static_cast<int>(std::min<int64_t>(position, 2147483647)));
  });
}

int64_t CLorvaneDlg::SliderPosition() {
  int64_t position = 0;
  ON_GUI({ position = startLineSlider_->value(); });
  return position;
}

void CLorvaneDlg::ShowSplash() {
  ON_GUI({ CSplashDlg::Open(this, &context_.workerDone); });
}

void CLorvaneDlg::ShowTextDialog(const std::string& text) {
  ON_GUI({
    CNotepadDlg notepad(this);
    notepad.SetText(suite::FromCodePage(text, context_.codePage.load().codePage));
    notepad.exec();
  });
}

void CLorvaneDlg::Beep() {
  ON_GUI({ QApplication::beep(); });
}

void CLorvaneDlg::SetClipboardText(const std::string& text) {
  const suite::CodePage codePage = context_.codePage.load().codePage;
  ON_GUI({ QApplication::clipboard()->setText(suite::FromCodePage(text, codePage)); });
}

std::string CLorvaneDlg::GetClipboardText() {
  std::string text;
  ON_GUI({ text = suite::ToCodePage(suite::ClipboardPlainText()); });
  return text;
}

void CLorvaneDlg::OpenWithShell(const std::string& path) {
  ON_GUI({ shell_.OpenFile(path); });
}

void CLorvaneDlg::OnSelectResultFile() {
  ON_GUI({ SelectResultFile(*this, context_); });
}

void CLorvaneDlg::OnSelectResultLine() {
  ON_GUI({ SelectResultLine(*this, context_); });
}

void CLorvaneDlg::StartWorker(Worker worker) {
  ++runningWorkers_;
  std::thread([this, worker] {
    if (worker != Worker::LoadClipboard) suite::RunAtIdlePriority();  // the searcher never slows the desktop down
    RunWorker(worker);
    // What the worker posted is in the controls before it counts as done.
    RunQueuedFirst(this, closing_, posted_, [this] { SyncViews(); });
    --runningWorkers_;
  }).detach();
}

void CLorvaneDlg::RunWorker(Worker worker) {
  switch (worker) {
    case Worker::QuickPreRead: QuickPreRead(*this, context_); break;
    case Worker::Search: Search(*this, context_); break;
    case Worker::CenterVirtualPage: CenterVirtualPage(*this, context_); break;
    case Worker::LookAtContent: LookAtContent(*this, context_); break;
    case Worker::LoadClipboard: LoadClipboard(*this, context_); break;
    case Worker::ContinueSearch: ContinueSearch(*this, context_); break;
  }
}

}  // namespace lorvane
