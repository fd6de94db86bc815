#include "searcher/app/notepad_dlg.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "widgets/screen_fit.h"

namespace lorvane {

// A block of the box's document that goes on the line of the block before it.
constexpr int kContinuesLine = 1;

// The box: a line laid out whole is shaped again at every paint and every
// blink of the cursor (a line of 5 MiB took over a second to paint and kept a
// core busy while idle); pieces of kFoldLength are laid out only when seen.
class NotepadEdit : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

  // The document's text from `from` to `to`, a line end between blocks but
  // not before a block that continues a line.
  QString JoinedText(int from, int to) const {
    QString joined;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
      if (block.position() > from && block.userState() != kContinuesLine) joined += QLatin1Char('\n');
      const int start = std::max(from, block.position()) - block.position();
      const int end = std::min(to, block.position() + block.length() - 1) - block.position();
      joined += block.text().mid(start, end - start);
    }
    return joined;
  }

 protected:
  QMimeData* createMimeDataFromSelection() const override {
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    data->setText(JoinedText(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
  }
};

namespace {

// Characters the box would take as a line end inside a line.
bool BreaksALine(QChar c) {
  return c == QLatin1Char('\r') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator ||
         c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
}

// The text for the box: lines ended by LF; a character that would break a
// line shown as a blank; a line longer than kFoldLength cut into pieces
// (paragraph separators, never inside a surrogate pair). Gives the numbers of
// the blocks that continue a line.
QString Folded(const QString& text, std::vector<int>& continuing) {
  QString folded;
  folded.reserve(text.size() + text.size() / CNotepadDlg::kFoldLength + 1);
  int block = 0;
  qsizetype run = 0;  // characters of the current piece
  for (qsizetype i = 0; i < text.size(); ++i) {
    QChar c = text[i];
    if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) continue;
    if (c == QLatin1Char('\n')) {
      folded += c;
      ++block;
      run = 0;
      continue;
    }
    if (BreaksALine(c)) c = QLatin1Char(' ');
    if (run >= CNotepadDlg::kFoldLength && !c.isLowSurrogate()) {
      folded += QChar::ParagraphSeparator;
      continuing.push_back(++block);
      run = 0;
    }
    folded += c;
    ++run;
  }
  return folded;
}

}  // namespace

CNotepadDlg::CNotepadDlg(QWidget* parent) : QDialog(parent), edit_(new NotepadEdit(this)) {
  setWindowTitle("Lorvane Notepad-Embedded");
  setWindowFlags(Qt::Dialog | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(edit_);
  edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit_->installEventFilter(this);
  installEventFilter(this);
  suite::FitOnScreen(this, QSize(820, 640));
}

void CNotepadDlg::SetText(const QString& text) {
  std::vector<int> continuing;
  const QString folded = Folded(text, continuing);
  if (continuing.empty()) {
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  } else {
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit_->setWordWrapMode(QTextOption::WrapAnywhere);
  }
  edit_->setPlainText(folded);
  QTextDocument* document = edit_->document();
  for (const int block : continuing) document->findBlockByNumber(block).setUserState(kContinuesLine);
}

bool CNotepadDlg::Wrapped() const { return edit_->lineWrapMode() != QPlainTextEdit::NoWrap; }

QString CNotepadDlg::Text() const { return edit_->JoinedText(0, edit_->document()->characterCount() - 1); }

bool CNotepadDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_F2:
      case Qt::Key_F3:
      case Qt::Key_F4:
      case Qt::Key_F5: accept(); return true;
      case Qt::Key_F1:
      case Qt::Key_F12: return true;
      default: break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace lorvane
