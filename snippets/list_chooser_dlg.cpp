#include "snippets/list_chooser_dlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>
#include <chrono>
#include <utility>

#include "snippets/name_dlg.h"
#include "snippets/snipkeep_art.h"
#include "snippets/snipkeep_texts.h"
#include "widgets/blank_caption.h"
#include "widgets/color_list_box.h"
#include "widgets/hand_button.h"
#include "widgets/message_box_texts.h"
#include "widgets/qt_text.h"
#include "widgets/screen_fit.h"

namespace snipkeep {
namespace {

// Each entry keeps its name's code-page bytes, and its file's name as the file
// system spells it: what the list shows would give back neither for bytes
// that don't decode.
constexpr int kNameRole = Qt::UserRole + 8;
constexpr int kFileNameRole = Qt::UserRole + 9;

QToolButton* ChooserButton(ButtonArt art, const std::string& text) {
  auto* button = new suite::IconButton(ButtonIcon(art), suite::FromCodePage(text));
  button->setText(suite::FromCodePage(text));
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setIconSize(QSize(24, 24));
  return button;
}

}  // namespace

ListChooserDlg::ListChooserDlg(ListChooser& chooser, QWidget* parent) : QDialog(parent), chooser_(chooser) {
  ApplySnipkeepLook(this);
  suite::SetBlankCaption(*this);
  list_ = new suite::CColorListBox;
  note_ = new QLabel(suite::FromCodePage(ChooserNoteText()));
  newButton_ = ChooserButton(ButtonArt::NewList, NewListButtonText());
  deleteButton_ = ChooserButton(ButtonArt::DeleteList, DeleteListButtonText());
  closeButton_ = ChooserButton(ButtonArt::Close, CloseChooserButtonText());

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(newButton_);
  buttons->addWidget(deleteButton_);
  buttons->addStretch(1);
  buttons->addWidget(closeButton_);
  auto* page = new QVBoxLayout(this);
  page->addWidget(list_, 1);
  page->addWidget(note_);
  page->addLayout(buttons);
  suite::FitOnScreen(this, QSize(360, 380));

  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { chooser_.OnChoose(*this); });
  connect(newButton_, &QToolButton::clicked, this, [this] { chooser_.OnNewListFile(*this); });
  connect(deleteButton_, &QToolButton::clicked, this, [this] { chooser_.OnDeleteListFile(*this); });
  connect(closeButton_, &QToolButton::clicked, this, [this] { chooser_.OnClose(*this); });
  list_->setFocus();
  chooser_.OnInitDialog(*this);
}

ListChooserDlg::~ListChooserDlg() {
  WaitForFills();
  if (fillThread_.joinable()) fillThread_.join();
}

template <typename Function>
void ListChooserDlg::OnDialogThread(Function&& function) {
  if (QThread::currentThread() == thread()) {
    function();
  } else {
    QMetaObject::invokeMethod(this, std::forward<Function>(function), Qt::BlockingQueuedConnection);
  }
}

void ListChooserDlg::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, "Snipkeep", suite::FromCodePage(text), QMessageBox::Ok, this);
  suite::UseChineseButtonTexts(box);
  box.exec();
}

bool ListChooserDlg::AskYesNo(const std::string& question) {
  QMessageBox box(QMessageBox::Question, "Snipkeep", suite::FromCodePage(question),
                  QMessageBox::Yes | QMessageBox::No, this);
  suite::UseChineseButtonTexts(box);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void ListChooserDlg::ListFill(const std::vector<ChooserEntry>& entries, int64_t selection) {
  OnDialogThread([this, &entries, selection] {
    list_->setUpdatesEnabled(false);
    list_->clear();
    for (const ChooserEntry& entry : entries) {
      const suite::EntryColour colour =
          entry.colour ? suite::MakeEntryColour(entry.colour->red, entry.colour->green, entry.colour->blue) : 0;
      const int at = list_->InsertColoured(-1, suite::FromCodePage(entry.name), colour);
      list_->item(at)->setData(kNameRole, QByteArray::fromStdString(entry.name));
      list_->item(at)->setData(kFileNameRole, QByteArray::fromStdString(entry.fileName));
    }
    list_->setUpdatesEnabled(true);
    SelectRow(selection);
  });
}

void ListChooserDlg::ListInsert(int64_t index, const ChooserEntry& entry) {
  OnDialogThread([this, index, &entry] {
    const int at = list_->InsertColoured(static_cast<int>(index), suite::FromCodePage(entry.name), 0);
    list_->item(at)->setData(kNameRole, QByteArray::fromStdString(entry.name));
    list_->item(at)->setData(kFileNameRole, QByteArray::fromStdString(entry.fileName));
  });
}

std::vector<std::string> ListChooserDlg::ListTexts() {
  std::vector<std::string> names;
  OnDialogThread([this, &names] {
    names.reserve(static_cast<size_t>(list_->count()));
    for (int row = 0; row < list_->count(); ++row) {
      names.push_back(list_->item(row)->data(kNameRole).toByteArray().toStdString());
    }
  });
  return names;
}

std::string ListChooserDlg::ListFileName(int64_t index) {
  std::string fileName;
  OnDialogThread([this, index, &fileName] {
    if (index < 0 || index >= list_->count()) return;
    fileName = list_->item(static_cast<int>(index))->data(kFileNameRole).toByteArray().toStdString();
  });
  return fileName;
}

int64_t ListChooserDlg::ListSelection() {
  int64_t selection = -1;
  OnDialogThread([this, &selection] {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (!selected.isEmpty()) selection = list_->row(selected.front());
  });
  return selection;
}

void ListChooserDlg::ListSelect(int64_t index) {
  OnDialogThread([this, index] { SelectRow(index); });
}

void ListChooserDlg::SelectRow(int64_t index) {
  if (index < 0 || index >= list_->count()) {
    list_->setCurrentRow(-1);
    return;
  }
  list_->setCurrentRow(static_cast<int>(index));
  list_->scrollToItem(list_->item(static_cast<int>(index)));
}

void ListChooserDlg::StartFilling() {
  std::lock_guard lock(fillMutex_);
  if (fillRunning_) {
    ++fillsAsked_;
    return;
  }
  // A thread left from an earlier fill has made its last call already.
  if (fillThread_.joinable()) fillThread_.join();
  fillRunning_ = true;
  fillThread_ = std::thread([this] { FillLoop(); });
}

void ListChooserDlg::FillLoop() {
  for (;;) {
    chooser_.FillList(*this);
    std::lock_guard lock(fillMutex_);
    if (fillsAsked_ == 0) {
      fillRunning_ = false;
      return;
    }
    --fillsAsked_;
  }
}

bool ListChooserDlg::Filling() {
  std::lock_guard lock(fillMutex_);
  return fillRunning_;
}

void ListChooserDlg::WaitForFills() {
  while (Filling()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::optional<std::string> ListChooserDlg::AskNewListName() {
  NameDlg dialog(this);
  return dialog.Ask();
}

void ListChooserDlg::EndDialog() {
  WaitForFills();
  QDialog::done(chooser_.Choice() ? QDialog::Accepted : QDialog::Rejected);
}

void ListChooserDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    chooser_.OnChoose(*this);
    return;
  }
  QDialog::keyPressEvent(event);
}

void ListChooserDlg::reject() { chooser_.OnClose(*this); }

void ListChooserDlg::accept() { chooser_.OnChoose(*this); }

}  // namespace snipkeep
