// The splitter's dialog as the user meets it, on Qt's offscreen platform.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "common/codepage.h"
#include "recording_window.h"
#include "splitter/cleavora_dlg.h"
#include "splitter/split_state.h"
#include "test_support/drops.h"
#include "test_support/patience.h"
#include "widgets/qt_translations.h"
#include "widgets/status_line.h"

using suite::testing::kPatienceMs;

namespace cleavora {
namespace {

const QString kTitle = QString::fromUtf8("Cleavora v0.1 基于行的文本文件分割器   [按 %1 行分割]");

// Lines "1\n" .. "<count>\n".
std::string NumberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += std::to_string(i) + "\n";
  return text;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

class CleavoraDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    suite::SetActiveCodePage(suite::CodePage::Gbk);
    QVERIFY2(suite::InstallChineseQtTexts(*qApp), "qtbase_zh_CN.qm is missing: run scripts/setup.sh");
  }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    state_ = std::make_unique<SplitState>(ProgramDirectory());
    shell_ = std::make_unique<testing::RecordingShell>();
    dialog_ = std::make_unique<CCleavoraDlg>(*state_, *shell_);
    dialog_->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog_.get(), kPatienceMs));
  }

  void cleanup() {
    dialog_.reset();
    shell_.reset();
    state_.reset();
    dir_.reset();
  }

  void startsIdleWithTheDefaultPieceSizeInTitleAndField() {
    QCOMPARE(dialog_->windowTitle(), kTitle.arg(1000000));
    QCOMPARE(Field("pathField")->text(), QString());
    QVERIFY(!Field("pathField")->isReadOnly());
    QCOMPARE(Field("pieceSizeField")->text(), QStringLiteral("1000000"));
    QCOMPARE(Status(), QString());
    const std::pair<const char*, const char*> buttons[] = {{"chooseFileButton", "选择文件"},
                                                           {"startButton", "开始分割"},
                                                           {"openDirectoryButton", "打开目录"},
                                                           {"applyButton", "使用新参数"}};
    for (const auto& [name, caption] : buttons) {
      QCOMPARE(Button(name)->text(), QString::fromUtf8(caption));
      QVERIFY(Button(name)->isEnabled());
      QCOMPARE(Button(name)->cursor().shape(), Qt::BitmapCursor);
    }
    QVERIFY(!dialog_->windowIcon().isNull());
    QVERIFY(dialog_->acceptDrops());

    // The piece-size field takes digits only.
    Field("pieceSizeField")->clear();
    QTest::keyClicks(Field("pieceSizeField"), "12a-b 3");
    QCOMPARE(Field("pieceSizeField")->text(), QStringLiteral("123"));
  }

  void enterDoesNothingAndEscapeCloses() {
    const std::string source = WriteSource("x\n");
    Field("pathField")->setText(QString::fromStdString(source));
    for (const char* name : {"pathField", "pieceSizeField"}) {
      QTest::keyClick(Field(name), Qt::Key_Return);
      QTest::keyClick(Field(name), Qt::Key_Enter, Qt::KeypadModifier);
    }
    Button("startButton")->setFocus();
    QTest::keyClick(Button("startButton"), Qt::Key_Return);
    QTest::qWait(50);
    QVERIFY(dialog_->isVisible());
    QVERIFY(!dialog_->SplitRunning());
    QCOMPARE(Status(), QString());
    QVERIFY(!std::filesystem::exists(state_->WorkDirectory()));

    QTest::keyClick(Field("pathField"), Qt::Key_Escape);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
  }

  // Out of range restores the last accepted value, a field that doesn't parse
  // keeps the stored one; both are also reported in a message box of ours.
  void applyTakesTheRangeAndRestoresTheLastAcceptedValue() {
    QString reported;
    QCOMPARE(Apply("10000", &reported), QString::fromUtf8("新参数设置成功! 将每 10000 行分割成一个小文件。"));
    QCOMPARE(reported, QString());
    QCOMPARE(dialog_->windowTitle(), kTitle.arg(10000));

    QCOMPARE(Apply("1000000000", &reported), QString::fromUtf8("新参数设置成功! 将每 1000000000 行分割成一个小文件。"));
    QCOMPARE(dialog_->windowTitle(), kTitle.arg(1000000000));

    Apply("20000", &reported);
    for (const char* rejected : {"9999", "1000000001", "0"}) {
      QCOMPARE(Apply(rejected, &reported),
               QString::fromUtf8("新参数设置失败! 恢复原值，将每 20000 行分割成一个小文件。"));
      QCOMPARE(reported, QString::fromUtf8("请输入一个介于 10000 和 1000000000 之间的整数。"));
      QCOMPARE(reportedButton_, QString::fromUtf8("确定"));
      QCOMPARE(Field("pieceSizeField")->text(), QStringLiteral("20000"));
      QCOMPARE(dialog_->windowTitle(), kTitle.arg(20000));
      QCOMPARE(dialog_->LinesPerPiece(), 20000);
    }

    for (const char* unparsable : {"", "99999999999999999999"}) {
      QCOMPARE(Apply(unparsable, &reported), QString::fromUtf8("新参数设置成功! 将每 20000 行分割成一个小文件。"));
      QCOMPARE(reported, QString::fromUtf8("请输入一个整数。"));
      QCOMPARE(Field("pieceSizeField")->text(), QStringLiteral("20000"));
    }
    QCOMPARE(state_->LastAcceptedPieceSize(), 20000);
  }

  // Drop several files, start, watch the two states, open the split's directory.
  void splitsTheDroppedFileAndOpensItsDirectory() {
    QString reported;
    Apply("10000", &reported);
    const std::string first = WriteSource(NumberedLines(25000), "first.txt");
    const std::string second = WriteSource("ignored\n", "second.txt");
    QCOMPARE(Drop({first, second}), true);
    QCOMPARE(Field("pathField")->text(), QString::fromStdString(first));
    QVERIFY(Field("pathField")->hasFocus());
    QVERIFY(!Field("pathField")->hasSelectedText());

    QTest::mouseClick(Button("startButton"), Qt::LeftButton);
    // Splitting until the worker's last call has been carried out here.
    QVERIFY(Field("pathField")->isReadOnly());
    QVERIFY(!Button("chooseFileButton")->isEnabled());
    QVERIFY(!Button("startButton")->isEnabled());
    QVERIFY(Button("openDirectoryButton")->isEnabled());
    QVERIFY(Button("applyButton")->isEnabled());
    QVERIFY(Field("pieceSizeField")->isEnabled() && !Field("pieceSizeField")->isReadOnly());

    QTRY_VERIFY_WITH_TIMEOUT(Button("startButton")->isEnabled(), kPatienceMs);
    QCOMPARE(Status(), QString::fromUtf8("分割成功: 将 25000 行分割成 3 个小文件"));
    QVERIFY(!Field("pathField")->isReadOnly());
    QVERIFY(Button("chooseFileButton")->isEnabled());
    const std::string splitDirectory = state_->LastSplitDirectory();
    QCOMPARE(ReadBytes(splitDirectory + "/000000002.txt"), [] {
      std::string tail;
      for (int i = 20001; i <= 25000; ++i) tail += std::to_string(i) + "\r\n";
      return tail;
    }());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog_->SplitRunning(), kPatienceMs);

    QTest::mouseClick(Button("openDirectoryButton"), Qt::LeftButton);
    QCOMPARE(shell_->folders.size(), size_t(1));
    QCOMPARE(shell_->folders[0].folder, splitDirectory);
  }

  // A file dropped on a field is the window's drop, as on its body: the
  // path field takes the path (not its URL inserted into its text), and
  // "开始分割" splits that file. Text dragged into a field stays text.
  void aFileDroppedOnAFieldIsTheWindowsDrop() {
    const std::string first = WriteSource("one\ntwo\n", "first.txt");
    Field("pathField")->setText(QStringLiteral("/typed/before"));
    QCOMPARE(Drop({first}, Field("pathField")), true);
    QCOMPARE(Field("pathField")->text(), QString::fromStdString(first));
    QCOMPARE(dialog_->FilePath(), first);
    const std::string second = WriteSource("three\n", "second.txt");
    QCOMPARE(Drop({second}, Field("pieceSizeField")), true);
    QCOMPARE(Field("pathField")->text(), QString::fromStdString(second));
    QCOMPARE(Field("pieceSizeField")->text(), QStringLiteral("1000000"));
    QTest::mouseClick(Button("startButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog_->SplitRunning() && Button("startButton")->isEnabled(), kPatienceMs);
    QCOMPARE(Status(), QString::fromUtf8("分割成功: 将 1 行分割成 1 个小文件"));

    Field("pathField")->setText(QStringLiteral("/logs/"));
    QVERIFY(suite::testing::DragAndDrop(Field("pathField"), *suite::testing::DraggedText(QStringLiteral("app.log"))));
    QCOMPARE(Field("pathField")->text(), QStringLiteral("/logs/app.log"));
  }

  // A failure about a long path shows whole one way or another: elided in
  // the middle, so the reason after the path stays in sight, and whole on
  // hover. A short message shows as it is.
  void aLongPathsFailureCanBeRead() {
    const std::string directory = dir_->path().toStdString() + "/" + std::string(120, 'd') + ".txt";
    std::filesystem::create_directory(directory);  // exists, and can't be opened as a file to split
    QCOMPARE(Drop({directory}), true);
    QTest::mouseClick(Button("startButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog_->SplitRunning() && Button("startButton")->isEnabled(), kPatienceMs);
    const QString message = QString::fromUtf8("打开“") + QString::fromStdString(directory) +
                            QString::fromUtf8("”文件失败!\n可能由于其它程序正在对该文件写入。");
    QCOMPARE(Status(), message);
    suite::StatusLine* line = StatusLineWidget();
    const QString shown = line->Shown();
    QVERIFY(shown.startsWith(QString::fromUtf8("打开“")));
    QVERIFY(shown.endsWith(QString::fromUtf8("”文件失败! 可能由于其它程序正在对该文件写入。")));
    QVERIFY(shown.contains(QChar(0x2026)));
    QVERIFY(line->fontMetrics().horizontalAdvance(shown) <= line->contentsRect().width());
    QCOMPARE(line->toolTip(), message);
    line->actions().front()->trigger();  // "复制"
    QCOMPARE(QApplication::clipboard()->text(), message);

    QString reported;
    Apply("20000", &reported);
    QCOMPARE(line->Shown(), QString::fromUtf8("新参数设置成功! 将每 20000 行分割成一个小文件。"));
    QCOMPARE(line->toolTip(), QString());
  }

  // A drop while splitting changes nothing; closing or destroying the dialog
  // then stops the worker and returns only once it has ended.
  void dropDuringASplitIsIgnoredAndClosingStopsTheWorker_data() {
    QTest::addColumn<bool>("destroy");
    QTest::newRow("close") << false;
    QTest::newRow("destroy") << true;
  }
  void dropDuringASplitIsIgnoredAndClosingStopsTheWorker() {
    QFETCH(bool, destroy);
    const std::string source = StartSlowSplit();
    QVERIFY(WaitForProgress());
    const std::string other = WriteSource("other\n", "other.txt");
    QCOMPARE(Drop({other}), false);
    QCOMPARE(Field("pathField")->text(), QString::fromStdString(source));
    QCOMPARE(dialog_->FilePath(), source);

    const std::string splitDirectory = state_->LastSplitDirectory();
    if (destroy) {
      dialog_.reset();
    } else {
      dialog_->close();
      QVERIFY(!dialog_->isVisible());
      QVERIFY(!dialog_->SplitRunning());
    }
    const size_t pieces = PieceCount(splitDirectory);
    QTest::qWait(100);
    QCOMPARE(PieceCount(splitDirectory), pieces);
    QVERIFY(pieces < 200001);
  }

  // A refresh of the form by the worker leaves a piece size typed but not yet
  // applied; applied, it takes effect in the running split.
  void aPieceSizeTypedDuringASplitSurvivesUntilApplied() {
    StartSlowSplit();
    QVERIFY(WaitForProgress());
    QLineEdit* field = Field("pieceSizeField");
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "20000");
    const QString progress = Status();
    QTRY_VERIFY_WITH_TIMEOUT(Status() != progress, kPatienceMs);
    QCOMPARE(field->text(), QStringLiteral("20000"));

    QTest::mouseClick(Button("applyButton"), Qt::LeftButton);
    QCOMPARE(dialog_->windowTitle(), kTitle.arg(20000));
    QTRY_VERIFY_WITH_TIMEOUT(Button("startButton")->isEnabled(), kPatienceMs);
    const size_t pieces = PieceCount(state_->LastSplitDirectory());
    QCOMPARE(Status(),
             QString::fromUtf8("分割成功: 将 200000 行分割成 %1 个小文件").arg(pieces));
    const std::string lastFull = ReadBytes(state_->LastSplitDirectory() + "/" + PieceName(pieces - 2));
    QCOMPARE(std::count(lastFull.begin(), lastFull.end(), '\n'), 20000);
  }

  void aCancelledChooserKeepsThePathAndAChosenFileIsTaken() {
    const QString typed = QStringLiteral("/typed/by hand.txt");
    Field("pathField")->setText(typed);
    ClickAnsweringModal(Button("chooseFileButton"), [this](QWidget* modal) {
      auto* chooser = qobject_cast<QFileDialog*>(modal);
      QVERIFY2(chooser != nullptr, "the file chooser should be up");
      QCOMPARE(chooser->windowTitle(), QStringLiteral("Open for Viewer"));
      QCOMPARE(chooser->directory().absolutePath(), dir_->path());
      QCOMPARE(chooser->nameFilters(), QStringList({"txt (*.txt)", QString::fromUtf8("所有文件 (*)")}));
      // Qt's own labels and buttons, as its translations give them.
      QCOMPARE(chooser->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(), QString::fromUtf8("查找范围："));
      QCOMPARE(chooser->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Cancel)->text(),
               QString::fromUtf8("取消"));
      QCOMPARE(chooser->fileMode(), QFileDialog::ExistingFile);
      QCOMPARE(chooser->defaultSuffix(), QStringLiteral("txt"));
    });
    QCOMPARE(Field("pathField")->text(), typed);
    QCOMPARE(dialog_->FilePath(), typed.toStdString());
    QCOMPARE(dialog_->focusWidget(), Field("pathField"));
    QCOMPARE(Field("pathField")->selectedText(), typed);

    const std::string chosen = WriteSource("x\n", "chosen.log");
    ClickAnsweringModal(Button("chooseFileButton"), [&chosen](QWidget* modal) {
      auto* chooser = qobject_cast<QFileDialog*>(modal);
      QVERIFY2(chooser != nullptr, "the file chooser should be up");
      // Typed into its name field, as a user would.
      auto* name = chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      QVERIFY2(name != nullptr, "the chooser's name field");
      name->setText(QString::fromStdString(chosen));
      static_cast<QDialog*>(chooser)->accept();  // public in QDialog
    });
    QCOMPARE(Field("pathField")->text(), QString::fromStdString(chosen));
    QCOMPARE(Field("pathField")->selectedText(), QString::fromStdString(chosen));
  }

 private:
  std::string ProgramDirectory() const { return dir_->path().toStdString() + "/"; }

  std::string WriteSource(const std::string& bytes, const std::string& name = "source.txt") {
    const std::string path = ProgramDirectory() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  QLineEdit* Field(const char* name) { return dialog_->findChild<QLineEdit*>(name); }
  suite::StatusLine* StatusLineWidget() { return dialog_->findChild<suite::StatusLine*>("statusLine"); }
  QString Status() { return StatusLineWidget()->Message(); }
  QPushButton* Button(const char* name) { return dialog_->findChild<QPushButton*>(name); }

  static std::string PieceName(size_t piece) {
    char name[32];
    std::snprintf(name, sizeof name, "%09zu.txt", piece);
    return name;
  }

  static size_t PieceCount(const std::string& directory) {
    std::error_code error;
    auto entries = std::filesystem::directory_iterator(directory, error);
    return error ? 0 : static_cast<size_t>(std::distance(begin(entries), end(entries)));
  }

  // Types `text` into the piece-size field and presses "使用新参数"; gives the
  // status line, with the validation message (or nothing) in `reported`.
  QString Apply(const char* text, QString* reported) {
    reported->clear();
    QLineEdit* field = Field("pieceSizeField");
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    reportedButton_.clear();
    ClickAnsweringModal(Button("applyButton"), [this, reported](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) return;
      *reported = box->text();
      if (QAbstractButton* ok = box->button(QMessageBox::Ok)) reportedButton_ = ok->text();
    });
    return Status();
  }

  // Drags local files onto `target` (the dialog by default) and drops them;
  // true when the drop was taken.
  bool Drop(const std::vector<std::string>& paths, QWidget* target = nullptr) {
    return suite::testing::DragAndDrop(target ? target : dialog_.get(), *suite::testing::DraggedFiles(paths));
  }

  // Clicks `button`; a modal window that comes up meanwhile is handed to
  // `look` and then closed.
  void ClickAnsweringModal(QPushButton* button, const std::function<void(QWidget*)>& look) {
    QTimer timer;
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == dialog_.get()) return;
      timer.stop();
      look(modal);
      if (modal->isVisible()) modal->close();
    });
    timer.start();
    QTest::mouseClick(button, Qt::LeftButton);
  }

  // Starts a split of 200000 lines, one line a piece: the worker reports to
  // the dialog after every line.
  std::string StartSlowSplit() {
    const std::string source = WriteSource(NumberedLines(200000));
    Field("pathField")->setText(QString::fromStdString(source));
    dialog_->SetLinesPerPiece(1);
    QTest::mouseClick(Button("startButton"), Qt::LeftButton);
    return source;
  }

  bool WaitForProgress() {
    return suite::testing::WaitUntil([this] { return Status().startsWith(QString::fromUtf8("正在分割")); });
  }

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<SplitState> state_;
  std::unique_ptr<testing::RecordingShell> shell_;
  std::unique_ptr<CCleavoraDlg> dialog_;
  QString reportedButton_;  // the OK button's text of the last message box
};

}  // namespace cleavora

QTEST_MAIN(cleavora::CleavoraDlgTest)
#include "cleavora_dlg_test.moc"
