#include "evacuator/tuckaway_dlg.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStringDecoder>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "evacuator/listing_proxy.h"
#include "common/name_order.h"
#include "evacuator/tuckaway_texts.h"
#include "widgets/color_list_box.h"
#include "widgets/dialog_colours.h"
#include "widgets/hand_button.h"
#include "widgets/program_art.h"
#include "widgets/qt_text.h"
#include "widgets/screen_fit.h"

namespace tuckaway {
namespace {

QColor ToQColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

// The program's icon is a tile in the dialog's text colour.
static_assert(suite::kFerryboltMark.colour == kDialogTextColour);

// A file name or path as the user reads it: UTF-8 when its bytes are UTF-8,
// else the suite's code page (a name from an archive made on a GBK system).
QString Readable(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return utf8.hasError() ? suite::FromCodePage(bytes) : text;
}

// The move button's picture: a page going into a folder.
QIcon MoveIcon() {
  QIcon icon;
  for (int size : {32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0);
    const QColor folder(230, 180, 60);
    painter.setPen(QPen(folder.darker(150), 1.5));
    painter.setBrush(folder);
    QPainterPath back;
    back.moveTo(4, 18);
    back.lineTo(4, 42);
    back.lineTo(44, 42);
    back.lineTo(44, 20);
    back.lineTo(22, 20);
    back.lineTo(18, 16);
    back.lineTo(6, 16);
    back.closeSubpath();
    painter.drawPath(back);
    painter.setPen(QPen(Qt::darkGray, 1.2));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(14, 3, 18, 24));
    for (int y = 8; y <= 20; y += 4) painter.drawLine(QPointF(17, y), QPointF(29, y));
    painter.setPen(QPen(folder.darker(150), 1.5));
    painter.setBrush(folder.lighter(115));
    painter.drawRect(QRectF(4, 24, 40, 18));
    painter.setPen(QPen(ToQColor(kDialogTextColour).darker(130), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(36, 6), QPointF(36, 30));
    painter.drawLine(QPointF(30, 24), QPointF(36, 31));
    painter.drawLine(QPointF(42, 24), QPointF(36, 31));
    icon.addPixmap(pixmap);
  }
  return icon;
}

QLineEdit* ReadOnlyField() {
  auto* field = new QLineEdit;
  field->setReadOnly(true);
  return field;
}

}  // namespace

TuckawayDlg::TuckawayDlg(const std::string& sourceDirectory, suite::DesktopShell& shell,
                         Evacuator::TimeStampSource timeStamp, QWidget* parent)
    : TuckawayDlg(SourceFolder{sourceDirectory, SourceOrigin::kProgramFolder, std::string()}, shell,
                  std::move(timeStamp), parent) {}

TuckawayDlg::TuckawayDlg(const SourceFolder& source, suite::DesktopShell& shell, Evacuator::TimeStampSource timeStamp,
                         QWidget* parent)
    : QDialog(parent), shell_(shell), evacuator_(source.directory, SuiteFileList(), std::move(timeStamp)) {
  if (!source.refusal.empty()) evacuator_.RefuseToEmpty();
  BuildControls();
  sourceNote_->setText(suite::FromCodePage(SourceNoteText(source)));
  evacuator_.InitDialog(*this);
}

TuckawayDlg::~TuckawayDlg() {
  closing_ = true;
  if (listing_.joinable()) listing_.join();
}

void TuckawayDlg::BuildControls() {
  QFont font = this->font();
  font.setFamilies({"WenQuanYi Micro Hei", "Noto Sans CJK SC", font.family()});
  font.setPointSize(9);
  setFont(font);
  setWindowIcon(suite::ProgramIcon(suite::kFerryboltMark));
  setWindowFlags(Qt::Dialog | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
  suite::ApplyDialogColours(this, ToQColor(kDialogTextColour));

  sourceField_ = ReadOnlyField();
  targetField_ = ReadOnlyField();
  fileList_ = new suite::CColorListBox;
  refreshButton_ = new suite::HandButton(suite::FromCodePage(RefreshButtonText()));
  openFolderButton_ = new suite::HandButton(suite::FromCodePage(OpenFolderButtonText()));
  moveButton_ = new suite::IconButton(MoveIcon(), suite::FromCodePage(MoveButtonToolTip()));
  moveButton_->setIconSize(QSize(48, 48));
  moveButton_->setAutoRaise(false);
  sourceNote_ = new QLabel;
  note_ = new QLabel(suite::FromCodePage(NoteText()));
  note_->setWordWrap(true);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(refreshButton_);
  buttons->addStretch(1);
  buttons->addWidget(moveButton_, 0, Qt::AlignHCenter);
  buttons->addStretch(1);
  buttons->addWidget(openFolderButton_);

  auto* middle = new QHBoxLayout;
  middle->addWidget(fileList_, 1);
  middle->addLayout(buttons);

  auto* target = new QHBoxLayout;
  target->addWidget(new QLabel(suite::FromCodePage(TargetLabelText())));
  target->addWidget(targetField_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(suite::FromCodePage(SourceLabelText())));
  layout->addWidget(sourceField_);
  layout->addWidget(sourceNote_);
  layout->addLayout(middle, 1);
  layout->addLayout(target);
  layout->addWidget(note_);
  suite::FitOnScreen(this, QSize(480, 400));

  connect(refreshButton_, &QPushButton::clicked, this, [this] { evacuator_.Refresh(*this); });
  connect(moveButton_, &QToolButton::clicked, this, &TuckawayDlg::OnMove);
  connect(openFolderButton_, &QPushButton::clicked, this, [this] { evacuator_.OpenLastTargetFolder(shell_); });
  connect(fileList_, &QListWidget::doubleClicked, this,
          [this](const QModelIndex& index) { evacuator_.OnListDoubleClick(*this, index.row()); });
}

void TuckawayDlg::OnMove() {
  moving_ = true;
  sinceEvents_.start();
  evacuator_.MoveFiles(*this);
  moving_ = false;
}

void TuckawayDlg::SetTitle(const std::string& title) {
  model_.SetTitle(title);
  setWindowTitle(suite::FromCodePage(title));
}

void TuckawayDlg::EnableControls(bool enable) {
  model_.EnableControls(enable);
  refreshButton_->setEnabled(enable);
  moveButton_->setEnabled(enable);
}

void TuckawayDlg::SetSourceText(const std::string& text) {
  model_.SetSourceText(text);
  sourceField_->setText(Readable(text));
  sourceField_->home(false);  // a long path shows its start, as the target field does
}

void TuckawayDlg::SetTargetText(const std::string& text) {
  model_.SetTargetText(text);
  targetField_->setText(Readable(text));
}

void TuckawayDlg::FocusTarget() {
  model_.FocusTarget();
  targetField_->setFocus(Qt::OtherFocusReason);
}

void TuckawayDlg::SelectTargetFromEnd(int64_t caret) {
  model_.SelectTargetFromEnd(caret);
  // Anchor at the end, the caret before it: the field scrolls to the caret.
  const qsizetype length = targetField_->text().size();
  const qsizetype at = std::clamp<qsizetype>(caret, 0, length);
  targetField_->setSelection(static_cast<int>(length), static_cast<int>(at - length));
}

void TuckawayDlg::ListClear() {
  model_.ListClear();
  fileList_->clear();
}

void TuckawayDlg::ListAddSorted(const std::string& name) {
  // The place the model gives it: the list widget itself stays unsorted. A
  // listing sends its names in order, so the end is checked first.
  const auto& entries = model_.Entries();
  int index = static_cast<int>(entries.size());
  if (!entries.empty() && suite::NameSortsBefore(name, entries.back().name)) {
    const auto at = std::upper_bound(entries.begin(), entries.end(), name,
                                     [](const std::string& value, const TuckawayWindowModel::ListEntry& entry) {
                                       return suite::NameSortsBefore(value, entry.name);
                                     });
    index = static_cast<int>(at - entries.begin());
  }
  model_.ListAddSorted(name);
  fileList_->InsertColoured(index, Readable(name), 0);
}

void TuckawayDlg::ListAppendColoured(const std::string& name, Rgb colour) {
  model_.ListAppendColoured(name, colour);
  fileList_->InsertColoured(-1, Readable(name), suite::MakeEntryColour(colour.red, colour.green, colour.blue));
}

int64_t TuckawayDlg::ListCount() {
  // The move reads the count once per file: a long move still lets the window
  // paint, and answer the desktop, every 50 ms. Input waits until it ends.
  if (moving_ && sinceEvents_.elapsed() >= 50) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceEvents_.restart();
  }
  return model_.ListCount();
}

std::string TuckawayDlg::ListText(int64_t index) { return model_.ListText(index); }

void TuckawayDlg::ListDelete(int64_t index) {
  if (index < 0 || index >= model_.ListCount()) return;
  model_.ListDelete(index);
  delete fileList_->takeItem(static_cast<int>(index));
}

void TuckawayDlg::StartListing() {
  model_.StartListing();
  // The core locks the buttons while a listing runs, so any earlier one has
  // ended here; its thread may still be winding up.
  if (listing_.joinable()) listing_.join();
  listingRunning_ = true;
  const uint64_t generation = ++listingGeneration_;
  listing_ = std::thread([this, generation] {
    {
      ListingProxy proxy(this, *this, closing_);
      evacuator_.ListFiles(proxy);
    }
    if (!closing_.load()) {
      QMetaObject::invokeMethod(this, [this, generation] { OnListingEnded(generation); }, Qt::QueuedConnection);
    }
  });
}

void TuckawayDlg::OnListingEnded(uint64_t generation) {
  if (generation != listingGeneration_) return;
  listingRunning_ = false;
  emit ListingFinished();
}

void TuckawayDlg::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      accept();
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

}  // namespace tuckaway
