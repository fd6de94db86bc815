#include "snippets/snipkeep_dlg.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <utility>

#include "snippets/list_chooser_dlg.h"
#include "snippets/message_text.h"
#include "snippets/snipkeep_art.h"
#include "snippets/snipkeep_texts.h"
#include "widgets/color_list_box.h"
#include "widgets/hand_button.h"
#include "widgets/qt_text.h"
#include "widgets/screen_fit.h"

namespace snipkeep {

using suite::FromCodePage;

// The snippet list. It tells whether a change of its selection comes from a
// key pressed in it: the list then keeps the focus, so that the arrow keys go
// on moving through it.
class SnippetListBox : public suite::CColorListBox {
 public:
  using CColorListBox::CColorListBox;
  bool SelectingByKey() const { return selectingByKey_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    selectingByKey_ = true;
    CColorListBox::keyPressEvent(event);
    selectingByKey_ = false;
  }

 private:
  bool selectingByKey_ = false;
};

namespace {

// The multi-line box shows line breaks of its own and is given and gives back CR LF.
QString ShownText(const std::string& text) {
  QString shown = FromCodePage(text);
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return shown;
}

std::string BoxText(const QPlainTextEdit* box) {
  // The raw text keeps no-break spaces, which the plain text would turn into blanks.
  QString text = box->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
  return MessageTextOfUtf8(text.toStdString());
}

suite::EntryColour EntryColourOf(Rgb colour) { return suite::MakeEntryColour(colour.red, colour.green, colour.blue); }

}  // namespace

bool IsSnipkeepTitle(const QString& title) {
  const QString bare = QString::fromUtf8(kProgramTitle);
  return title == bare || (title.startsWith(bare + QLatin1String("   [")) && title.endsWith(QLatin1Char(']')));
}

SnipkeepDlg::SnipkeepDlg(suite::DesktopShell& shell, std::string listDirectory, std::string programDirectory,
                         QWidget* parent)
    : QDialog(parent), core_(*this, shell, std::move(listDirectory), std::move(programDirectory)) {
  BuildControls();
  core_.InitDialog();
}

SnipkeepDlg::~SnipkeepDlg() = default;

void SnipkeepDlg::BuildControls() {
  ApplySnipkeepLook(this);
  setWindowFlags(Qt::Dialog | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);

  list_ = new SnippetListBox;
  list_->setMinimumWidth(300);
  singleLine_ = new QLineEdit;
  multiLine_ = new QPlainTextEdit;
  multiLine_->setLineWrapMode(QPlainTextEdit::NoWrap);
  multiLine_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  multiLine_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  multiLine_->setTabChangesFocus(true);
  for (size_t i = 0; i < copyButtons_.size(); ++i) {
    copyButtons_[i] = new suite::HandButton(FromCodePage(CopyButtonText(static_cast<int>(i) + 1)));
    copyButtons_[i]->setStyleSheet("text-align: left; padding: 3px 8px;");
  }
  for (size_t i = 0; i < flagBoxes_.size(); ++i) {
    flagBoxes_[i] = new QCheckBox(FromCodePage(FlagLabel(static_cast<int>(i))));
  }
  const std::pair<ButtonArt, std::string> icons[] = {
      {ButtonArt::Choose, ChooseButtonText()},   {ButtonArt::Edit, EditButtonText()},
      {ButtonArt::Refresh, RefreshButtonText()}, {ButtonArt::OpenDirectory, OpenDirectoryButtonText()},
      {ButtonArt::Help, HelpButtonText()},
  };
  for (size_t i = 0; i < iconButtons_.size(); ++i) {
    const QString text = FromCodePage(icons[i].second);
    auto* button = new suite::IconButton(ButtonIcon(icons[i].first), text);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(24, 24));
    iconButtons_[i] = button;
  }
  statusField_ = new QLineEdit;
  statusField_->setReadOnly(true);
  statusField_->setFrame(false);
  statusField_->setFocusPolicy(Qt::NoFocus);
  {
    // Borderless, on the window's own background, in its text colour.
    QPalette palette = statusField_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    palette.setColor(QPalette::Text, this->palette().color(QPalette::WindowText));
    statusField_->setPalette(palette);
  }

  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(FromCodePage(SingleLineLabel())));
  right->addWidget(singleLine_);
  right->addWidget(new QLabel(FromCodePage(MultiLineLabel())));
  right->addWidget(multiLine_, 1);
  for (QPushButton* button : copyButtons_) right->addWidget(button);
  right->addSpacing(6);
  for (QCheckBox* box : flagBoxes_) right->addWidget(box);
  right->addSpacing(6);
  auto* icons_row = new QHBoxLayout;
  for (QToolButton* button : iconButtons_) icons_row->addWidget(button);
  icons_row->addStretch(1);
  right->addLayout(icons_row);

  auto* body = new QHBoxLayout;
  body->addWidget(list_, 1);
  body->addLayout(right, 1);
  auto* page = new QVBoxLayout(this);
  page->addLayout(body, 1);
  page->addWidget(statusField_);
  suite::FitOnScreen(this, QSize(900, 600));

  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    if (fillingList_) return;
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    core_.OnEntrySelected(selected.isEmpty() ? -1 : list_->row(selected.front()));
  });
  for (const CopyOperation operation : {CopyOperation::SingleWithLineEnd, CopyOperation::Single,
                                        CopyOperation::MultiDoubled, CopyOperation::Multi}) {
    connect(CopyButton(operation), &QPushButton::clicked, this, [this, operation] { core_.OnCopy(operation); });
  }
  for (size_t i = 0; i < flagBoxes_.size(); ++i) {
    const auto flag = static_cast<Flag>(i);
    connect(flagBoxes_[i], &QCheckBox::clicked, this, [this, flag] { core_.OnFlagClicked(flag); });
  }
  connect(iconButtons_[kChoose], &QToolButton::clicked, this, [this] { core_.OnBtnChoose(); });
  connect(iconButtons_[kEdit], &QToolButton::clicked, this, [this] { core_.OnBtnEdit(); });
  connect(iconButtons_[kRefresh], &QToolButton::clicked, this, [this] { core_.OnBtnRefresh(); });
  connect(iconButtons_[kOpenDirectory], &QToolButton::clicked, this, [this] { core_.OnBtnOpenDirectory(); });
  connect(iconButtons_[kHelp], &QToolButton::clicked, this, [this] { core_.OnBtnHelp(); });
}

suite::CColorListBox* SnipkeepDlg::SnippetList() const { return list_; }

QWidget* SnipkeepDlg::BoxWidget(Box box) const {
  return box == Box::SingleLine ? static_cast<QWidget*>(singleLine_) : static_cast<QWidget*>(multiLine_);
}

void SnipkeepDlg::SetTitle(const std::string& title) {
  // "[*]" would be taken for the modified mark and vanish: a list may be named "*".
  QString shown = FromCodePage(title);
  shown.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
  setWindowTitle(shown);
}

void SnipkeepDlg::PostStatus(const std::string& message) {
  status_.Post(suite::MakeStatusLine(message));
  statusField_->setText(FromCodePage(status_.Line()));
  statusField_->setCursorPosition(0);
}

SnipkeepForm SnipkeepDlg::ReadForm() {
  SnipkeepForm form;
  // What goes on the clipboard: every character the box shows, also one
  // the message code page lacks (an entry of a UTF-8 list, or one typed).
  form.singleLineText = MessageTextOfUtf8(singleLine_->text().toStdString());
  form.multiLineText = BoxText(multiLine_);
  for (size_t i = 0; i < flagBoxes_.size(); ++i) form.flags[i] = flagBoxes_[i]->isChecked();
  return form;
}

void SnipkeepDlg::SetFlag(Flag flag, bool on) { FlagBox(flag)->setChecked(on); }

void SnipkeepDlg::SetBoxText(Box box, const std::string& text) {
  if (box == Box::SingleLine) {
    singleLine_->setText(FromCodePage(text));
  } else {
    multiLine_->setPlainText(ShownText(text));
  }
}

void SnipkeepDlg::EnableBox(Box box, bool enable) { BoxWidget(box)->setEnabled(enable); }

void SnipkeepDlg::FocusBox(Box box) {
  if (list_->SelectingByKey()) return;
  BoxWidget(box)->setFocus();
}

void SnipkeepDlg::PlaceCaret(Box box, bool atEnd) {
  if (box == Box::SingleLine) {
    singleLine_->setCursorPosition(atEnd ? static_cast<int>(singleLine_->text().size()) : 0);
  } else {
    multiLine_->moveCursor(atEnd ? QTextCursor::End : QTextCursor::Start);
    multiLine_->ensureCursorVisible();
  }
}

void SnipkeepDlg::EnableCopyButton(CopyOperation button, bool enable) { CopyButton(button)->setEnabled(enable); }

void SnipkeepDlg::ListClear() {
  // Emptying the list changes no selection the user made.
  fillingList_ = true;
  list_->clear();
  fillingList_ = false;
}

void SnipkeepDlg::ListAppend(const std::string& text, Rgb colour) {
  fillingList_ = true;
  list_->InsertColoured(-1, FromCodePage(text), EntryColourOf(colour));
  fillingList_ = false;
}

void SnipkeepDlg::SetClipboardText(const std::string& text) {
  // Without a clipboard to take, nothing is copied and nothing is said.
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard) clipboard->setText(FromCodePage(text));
}

void SnipkeepDlg::RunListChooser(ListChooser& chooser) {
  ListChooserDlg dialog(chooser, this);
  dialog.exec();
}

void SnipkeepDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QDialog::mousePressEvent(event);
    return;
  }
  event->accept();
  // The window manager moves the window where it can; elsewhere it follows the mouse.
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  dragOffset_ = event->globalPosition().toPoint() - pos();
}

void SnipkeepDlg::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
    QDialog::mouseMoveEvent(event);
    return;
  }
  move(event->globalPosition().toPoint() - dragOffset_);
  event->accept();
}

void SnipkeepDlg::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
  QDialog::mouseReleaseEvent(event);
}

void SnipkeepDlg::accept() {}

}  // namespace snipkeep
