#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <filesystem>

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "common/path_util.h"
#include "common/size_text.h"
#include "searcher/app/drop_rules.h"
#include "searcher/app/lorvane_dlg.h"
#include "searcher/engine/command_line.h"
#include "searcher/engine/keyword_search.h"
#include "test_support/drops.h"
#include "test_support/temp_dir.h"
#include "widgets/clipboard_text.h"
#include "widgets/color_list_box.h"
#include "widgets/single_instance.h"
#include "test_support/patience.h"
#include "window_test_support.h"

using suite::testing::kPatienceMs;

namespace {

using lorvane::CLorvaneDlg;
using lorvane::CommandLineRequest;

using lorvane::testing::LastStatus;
using lorvane::testing::RecordingShell;
using lorvane::testing::WaitForWorkers;

}  // namespace

class LorvaneWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  void keysActOnlyWhileUnlocked() {
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    dialog.EnableControls(false, true);  // as a worker does when it starts
    QTest::keyClick(&dialog, Qt::Key_F12);
    QVERIFY(shell.opened.empty());
    QVERIFY(!dialog.AcceptsDrops());
    dialog.EnableControls(true, true);
    QTest::keyClick(&dialog, Qt::Key_F12);
    QCOMPARE(shell.opened.size(), size_t{1});
    QCOMPARE(shell.opened[0], dialog.Context().workDirectory);
    // Enter starts the search: with an empty path it says the target doesn't exist.
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(QString::fromStdString(LastStatus(dialog)), QString::fromUtf8("OnBtnStartSearch: 目标文件不存在!"));
  }

  void progressBarFollowsTheWorker() {
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    auto* bar = dialog.findChild<QProgressBar*>();
    QVERIFY(bar);
    dialog.EnableControls(false, true);
    dialog.ProgressSetRange(0, 100);
    dialog.ProgressSetStep(1);
    for (int i = 0; i < 30; ++i) dialog.ProgressStep();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->value(), 29);
    dialog.EnableControls(true, true);
    QVERIFY(!bar->isVisible());
  }

  void escapeTwiceWithinASecondCloses() {
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    const QString title = QString::fromUtf8(lorvane::LVN_MAIN_TITLE_M);
    QCOMPARE(dialog.windowTitle(), title);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.windowTitle(), title + QString::fromUtf8(" [重复以退出]"));
    // The hint goes after a second, and with it the first press.
    QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), title, kPatienceMs);
    QVERIFY(dialog.isVisible());
    // Key clicks handle no timers, so the second press comes within the second.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
  }

  void escapeClosesEvenWhileLocked() {
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    dialog.EnableControls(false, true);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
  }

  void dropRules() {
    const std::vector<std::string> extensions{"txt", "log", "h", "c", "cpp", "cfg", "lvn"};
    using lorvane::DropKind;
    QCOMPARE(lorvane::ClassifyDrop("/logs/a.txt", extensions).kind, DropKind::PreRead);
    QCOMPARE(lorvane::ClassifyDrop("/logs/a.TXT", extensions).kind, DropKind::PreRead);
    const auto c = lorvane::ClassifyDrop("/logs/x.c", extensions);
    QCOMPARE(c.kind, DropKind::RefusedType);
    QCOMPARE(c.quoted, std::string("/x.c"));
    const auto doc = lorvane::ClassifyDrop("/logs/a.doc", extensions);
    QCOMPARE(doc.kind, DropKind::UnhandledType);
    QCOMPARE(doc.quoted, std::string("doc"));
    QCOMPARE(lorvane::ClassifyDrop("/h/result.lvn", extensions).kind, DropKind::Restore);
    QCOMPARE(lorvane::ClassifyDrop("/h/RESULT.LVN", extensions).kind, DropKind::PreRead);
    QCOMPARE(lorvane::ClassifyDrop("ab", extensions).kind, DropKind::RefusedType);
  }

  // A list that got entries is laid out before the window paints: Qt lays a
  // list out again only on a timer after an entry comes, and a paint before
  // that drew it empty (the result-file list flickered during a big search).
  void aListIsNeverPaintedEmptyAfterItGotEntries() {
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    const auto inked = [](QListWidget* list) {
      const QImage picture = list->viewport()->grab().toImage();
      int dark = 0;
      for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) dark += qGray(picture.pixel(x, y)) < 128;
      }
      return dark;
    };
    for (const lorvane::ListControl which : {lorvane::ListControl::ResultFiles, lorvane::ListControl::Results}) {
      QListWidget* list = dialog.findChild<QListWidget*>(which == lorvane::ListControl::ResultFiles ? "resultFileList" : "resultList");
      for (int i = 0; i < 3; ++i) dialog.ListAppend(which, "00000" + std::to_string(i) + ".txt");
      // The window's next paint, before any timer has run.
      QEvent paintRequest(QEvent::UpdateRequest);
      QApplication::sendEvent(&dialog, &paintRequest);
      QVERIFY(inked(list) > 0);
    }
  }

  // The window starts in the keyword field; Tab walks the fields a user types
  // into, the boxes, lists and buttons, never a read-only figure or status
  // line, and comes round to the keyword again.
  void tabPassesTheReadOnlyFieldsBy() {
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog, kPatienceMs));
    auto* keyword = dialog.findChild<QLineEdit*>("keywordEdit");
    QCOMPARE(QApplication::focusWidget(), keyword);
    int stops = 0;
    do {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      const auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      QVERIFY2(!edit || !edit->isReadOnly(), qPrintable(edit ? edit->objectName() : QString()));
      QVERIFY(++stops < 40);
    } while (QApplication::focusWidget() != keyword);
    QCOMPARE(stops, 18);  // 4 edits, 10 buttons, the match-case box and 3 lists
  }

  // A file dropped on a field is the window's drop, as on its body: its path
  // goes into the path field and it is pre-read; the field keeps its text.
  // Text dragged into a field stays text; while a worker runs, no file is taken.
  void aFileDroppedOnAFieldIsTheWindowsDrop() {
    suite::testing::TempDir dir;
    const std::string target = suite::testing::WriteFile(dir / "dropped.log", "one\r\ntwo\r\nthree\r\n");
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    auto* keyword = dialog.findChild<QLineEdit*>("keywordEdit");
    auto* halfPage = dialog.findChild<QLineEdit*>("halfPageEdit");
    auto* path = dialog.findChild<QLineEdit*>("filePathEdit");
    const auto files = suite::testing::DraggedFiles({target});
    for (QWidget* on : std::initializer_list<QWidget*>{keyword, halfPage, path, dialog.findChild<QListWidget*>("resultList"), &dialog}) {
      dialog.OpenFile(std::string());  // an empty path: nothing to pre-read
      dialog.PostStatus("before the drop");
      QVERIFY(suite::testing::WaitUntil([&] { return LastStatus(dialog) == "before the drop"; }));
      QVERIFY2(suite::testing::DragAndDrop(on, *files), qPrintable(on->objectName()));
      QVERIFY(suite::testing::WaitUntil([&] { return LastStatus(dialog) == "预读完毕。目标文件共 0 0003 行。"; }));
      QVERIFY(WaitForWorkers(dialog));
      QCOMPARE(path->text(), QString::fromStdString(target));
      QCOMPARE(keyword->text(), QString("OK"));
      QCOMPARE(halfPage->text(), QString("5"));
    }
    keyword->setText("ERR");
    keyword->setCursorPosition(3);
    QVERIFY(suite::testing::DragAndDrop(keyword, *suite::testing::DraggedText("OR")));
    QCOMPARE(keyword->text(), QString("ERROR"));

    dialog.EnableControls(false, true);  // as a worker does
    const std::string other = suite::testing::WriteFile(dir / "other.log", "x\r\n");
    for (QWidget* on : std::initializer_list<QWidget*>{keyword, &dialog}) {
      QVERIFY(!suite::testing::DragAndDrop(on, *suite::testing::DraggedFiles({other})));
    }
    dialog.EnableControls(true, true);
    QApplication::processEvents();
    QCOMPARE(path->text(), QString::fromStdString(target));
    QCOMPARE(keyword->text(), QString("ERROR"));
  }

  // F6 takes the clipboard's plain text only: files copied in a file manager
  // (file URLs, with or without the plain-text copy a Qt program adds) are
  // no text, as an empty clipboard is: no file, no message, no pre-read.
  void theClipboardSearchTakesPlainTextOnly() {
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    // Its own folder: other tests' windows copy texts beside the programs too.
    suite::testing::TempDir ownFolder;
    const std::string clipboardDirectory = ownFolder / "clipboard";
    dialog.Context().clipboardDirectory = clipboardDirectory;
    const auto copiedTexts = [&] {
      int count = 0;
      if (std::filesystem::is_directory(clipboardDirectory)) {
        for (const auto& entry : std::filesystem::directory_iterator(clipboardDirectory)) count += entry.is_regular_file();
      }
      return count;
    };
    const int before = copiedTexts();
    const QUrl copiedFile = QUrl::fromLocalFile("/var/log/x.log");
    for (const bool withText : {false, true}) {
      auto* files = new QMimeData;
      files->setUrls({copiedFile});
      if (withText) files->setText(copiedFile.toString());
      QApplication::clipboard()->setMimeData(files);
      QVERIFY(suite::PlainText(QApplication::clipboard()->mimeData()).isEmpty());
      const std::string status = LastStatus(dialog);
      QTest::keyClick(&dialog, Qt::Key_F6);
      QVERIFY(WaitForWorkers(dialog));
      QCOMPARE(copiedTexts(), before);
      QCOMPARE(dialog.findChild<QLineEdit*>("filePathEdit")->text(), QString());
      QCOMPARE(LastStatus(dialog), status);
    }
    QApplication::clipboard()->setText(QString::fromUtf8("一\r\ntwo\r\n"));
    QTest::keyClick(&dialog, Qt::Key_F6);
    QVERIFY(suite::testing::WaitUntil([&] { return LastStatus(dialog).find("预读完毕。") == 0; }));
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(copiedTexts(), before + 1);
    QVERIFY(dialog.findChild<QLineEdit*>("filePathEdit")->text().contains("cp_"));
  }

  void commandLineAcceptance() {
    suite::testing::TempDir dir;
    const std::string file = suite::testing::WriteFile(dir / "app.log", "x\r\n");
    const std::string program = dir.Path() + "/";
    const auto accepted = lorvane::ParseCommandLine({"error", "1", file}, program);
    QVERIFY(accepted.autoLoad && accepted.autoSearch && accepted.matchCase);
    QCOMPARE(accepted.targetPath, file);
    const auto beside = lorvane::ParseCommandLine({"error", "0", "app.log"}, program);
    QVERIFY(beside.autoLoad && !beside.matchCase);
    QCOMPARE(beside.targetPath, program + "app.log");
    // A path found from the current directory becomes the full path.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::current_path(dir.Path());
    const auto relative = lorvane::ParseCommandLine({"error", "0", "./sub/../app.log"}, "/nowhere/");
    std::filesystem::current_path(before);
    QVERIFY(relative.autoLoad);
    QCOMPARE(relative.targetPath, file);
    for (const std::vector<std::string>& ignored : std::vector<std::vector<std::string>>{
             {"error", "yes", file}, {"", "0", file}, {"error", "0", ""}, {"error", "0"},
             {"error", "0", file, "more"}, {"error", "0", dir / "missing.log"}}) {
      const auto request = lorvane::ParseCommandLine(ignored, program);
      QVERIFY(!request.autoLoad && !request.autoSearch);
    }
  }

  void aSecondStartBringsTheFirstForward() {
    const QString name = "{test-guard}-" + QString::number(QCoreApplication::applicationPid());
    suite::SingleInstanceGuard first(name);
    QVERIFY(first.IsFirst());
    QWidget window;
    window.setWindowTitle("title");
    window.showMinimized();
    int forwarded = 0;
    first.SetWindow(&window, [&] {
      ++forwarded;
      return window.windowTitle() == "title";
    });
    {
      suite::SingleInstanceGuard second(name);
      QVERIFY(!second.IsFirst());
    }
    QTRY_COMPARE_WITH_TIMEOUT(forwarded, 1, kPatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), kPatienceMs);
    // While the title carries a hint, nothing comes forward.
    window.setWindowTitle("title [hint]");
    window.showMinimized();
    { suite::SingleInstanceGuard third(name); }
    QTRY_COMPARE_WITH_TIMEOUT(forwarded, 2, kPatienceMs);
    QTest::qWait(100);
    QVERIFY(window.isMinimized());
  }

  void automaticModeSearchesAfterEveryPreRead() {
    suite::testing::TempDir dir;
    const std::string first = suite::testing::WriteFile(dir / "one.log", "a hit\r\nmiss\r\n");
    const std::string second = suite::testing::WriteFile(dir / "two.log", "x\r\nhit\r\nhit\r\n");
    CommandLineRequest request;
    request.autoLoad = request.autoSearch = true;
    request.keyword = "hit";
    request.targetPath = first;
    RecordingShell shell;
    CLorvaneDlg dialog(request, shell);
    dialog.show();
    QVERIFY(WaitForWorkers(dialog));
    QTRY_VERIFY_WITH_TIMEOUT(LastStatus(dialog).find("存于 1 个结果文件中") != std::string::npos, kPatienceMs);
    QCOMPARE(dialog.Context().targetPath, first);
    // A file chosen later is pre-read and then searched at once.
    dialog.OpenFile(second);
    QTRY_VERIFY_WITH_TIMEOUT(dialog.Context().targetPath == second && dialog.RunningWorkers() == 0 &&
                                 LastStatus(dialog).find("其中 2 行包含关键字") != std::string::npos,
                             kPatienceMs);
    QVERIFY(std::filesystem::exists(dialog.Context().historyDirectory + "/result.lvn"));
  }

  // "Lorvane FILE", as a file manager's "open with" starts it: the file is
  // pre-read as a chosen one is, and nothing is searched.
  void aFileAloneIsPreReadWithoutASearch() {
    suite::testing::TempDir dir;
    const std::string file = suite::testing::WriteFile(dir / "opened.log", "a hit\r\nmiss\r\n");
    RecordingShell shell;
    CLorvaneDlg dialog(lorvane::ParseCommandLine({file}, "/nowhere/"), shell);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(LastStatus(dialog).find("预读完毕。") == 0, kPatienceMs);
    QVERIFY(WaitForWorkers(dialog));
    QVERIFY(LastStatus(dialog).find("预读完毕。") == 0);
    QCOMPARE(dialog.findChild<QLineEdit*>("filePathEdit")->text(), QString::fromStdString(file));
    QVERIFY(dialog.Context().historyDirectory.empty());
  }

  void progressBarMovesDuringASearch() {
    suite::testing::TempDir dir;
    std::string text;
    // A result in every tenth line: the first page fills over two progress steps.
    for (int i = 0; i < 200000; ++i) text += (i % 10 ? "line " : "line with a hit ") + std::to_string(i) + "\r\n";
    const std::string target = suite::testing::WriteFile(dir / "big.log", text);
    RecordingShell shell;
    CommandLineRequest request;
    request.autoLoad = request.autoSearch = true;
    request.keyword = "hit";
    request.targetPath = target;
    CLorvaneDlg dialog(request, shell);
    auto* bar = dialog.findChild<QProgressBar*>();
    // Every step the window shows, however fast the search: a sampling timer
    // would see none on a fast machine.
    int highest = -1;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
      if (bar->isVisible()) highest = std::max(highest, value);
    });
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(LastStatus(dialog).find("搜索完毕") != std::string::npos, kPatienceMs);
    QVERIFY(WaitForWorkers(dialog));
    QVERIFY2(highest > 0, std::to_string(highest).c_str());
  }

  // A descriptor chosen from anywhere, whose field 1 names "/": its views go
  // into the work directory, and a typed half page is used up to 1000 lines.
  void aRestoredDescriptorKeepsViewsInTheWorkDirectoryAndPagesBounded() {
    suite::testing::TempDir dir;
    std::string text;
    for (int i = 1; i <= 10000; ++i) text += "line " + std::to_string(i) + (i % 1000 ? "" : " HIT") + "\r\n";
    const std::string target = suite::testing::WriteFile(dir / "big.log", text);
    const std::string elsewhere = dir / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    suite::testing::WriteFile(elsewhere + "/000000.txt",
                              "0000000001|0000005000| line 5000 HIT\r\n0000000002|0000006000| line 6000 HIT\r\n");
    const std::string descriptor = suite::testing::WriteFile(
        elsewhere + "/result.lvn", "/\r\n" + target + "\r\nHIT\r\nY\r\n" + suite::FileSizeText(target) +
                                       "\r\n10000\r\n2\r\n_mp[0]=0;\r\n");
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    dialog.OpenFile(descriptor);
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(dialog.Context().historyDirectory, elsewhere);

    // The second result, with a half page typed but not applied.
    dialog.findChild<QLineEdit*>("halfPageEdit")->setText("3000000");
    QListWidget* results = nullptr;
    for (QListWidget* list : dialog.findChildren<QListWidget*>()) {
      if (list->count() == 2 && list->item(0)->text().startsWith("0000000001|")) results = list;
    }
    QVERIFY(results);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualItemRect(results->item(1)).center());
    QVERIFY(WaitForWorkers(dialog));
    auto* page = dialog.findChild<suite::CColorListBox*>();
    QVERIFY(page);
    QCOMPARE(page->count(), 2001);
    QCOMPARE(page->currentItem()->text(), QString::fromUtf8("line 6000 HIT"));

    dialog.findChild<QLineEdit*>("startLineEdit")->setText("4999");
    dialog.findChild<QLineEdit*>("offsetEdit")->setText("3");
    QPushButton* view = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (button->text() == QString::fromUtf8("查看内容")) view = button;
    }
    QVERIFY(view);
    shell.opened.clear();
    QTest::mouseClick(view, Qt::LeftButton);
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(shell.opened.size(), size_t{1});
    std::string viewDirectory = suite::DirectoryOfPath(shell.opened[0]);
    viewDirectory.pop_back();
    QCOMPARE(QString::fromStdString(suite::DirectoryOfPath(viewDirectory)),
             QString::fromStdString(dialog.Context().workDirectory + "/"));
    QCOMPARE(QString::fromStdString(suite::testing::ReadFile(shell.opened[0])),
             QString::fromUtf8("line 4999\r\nline 5000 HIT\r\nline 5001\r\n"));
    std::filesystem::remove_all(viewDirectory);
  }

  // A history that lost a result file (a power loss before it reached the
  // disk) restores what is there and says which file is missing.
  void aHistoryMissingAResultFileRestoresAndSaysSo() {
    suite::testing::TempDir dir;
    std::string text, records;
    for (int i = 1; i <= 10000; ++i) {
      text += "line " + std::to_string(i) + " HIT\r\n";
      if (i <= 2000) records += lorvane::FormatResultRecord(i, i, "line " + std::to_string(i) + " HIT");
    }
    const std::string target = suite::testing::WriteFile(dir / "big.log", text);
    suite::testing::WriteFile(dir / "000000.txt", records);
    const std::string descriptor = suite::testing::WriteFile(
        dir / "result.lvn", dir.Path() + "\r\n" + target + "\r\nHIT\r\nY\r\n" + suite::FileSizeText(target) +
                                "\r\n10000\r\n10000\r\n_mp[0]=0;\r\n");
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    dialog.OpenFile(descriptor);
    // (read before the page's worker posts its own lines)
    const auto lines = dialog.Status().Lines();
    QVERIFY2(suite::ToUtf8(lines[0]).ends_with("toResultLoad: 恢复历史情境警告。继续恢复。原因[缺少 4 个搜索结果文件: "
                                               "000001.txt 000002.txt 000003.txt 000004.txt]"),
             suite::ToUtf8(lines[0]).c_str());
    QVERIFY(suite::ToUtf8(lines[1]).ends_with("打开搜索结果文件 000000.txt 成功! 读入 2000 条搜索结果记录。"));
    QVERIFY(suite::ToUtf8(lines[2]).ends_with("toResultLoad: 成功载入一个 result.lvn 搜索历史文件。"));
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(dialog.ListCount(lorvane::ListControl::ResultFiles), 1);
    QCOMPARE(dialog.ListCount(lorvane::ListControl::Results), 2000);
  }

  void colourListDrawing() {
    const QPalette palette = QApplication::palette();
    const auto blue = suite::LookOfEntry(suite::MakeEntryColour(0, 0, 255), false, true, palette);
    QVERIFY(!blue.background.isValid());
    QCOMPARE(blue.text, QColor(0, 0, 255));
    const auto blueSelected = suite::LookOfEntry(suite::MakeEntryColour(0, 0, 255), true, true, palette);
    QCOMPARE(blueSelected.background, QColor(0, 0, 255));
    QCOMPARE(blueSelected.text, QColor(255, 255, 0));
    const auto plain = suite::LookOfEntry(0, false, true, palette);
    QCOMPARE(plain.text, palette.color(QPalette::Text));
    const auto plainSelected = suite::LookOfEntry(0, true, true, palette);
    QCOMPARE(plainSelected.background, QColor(0, 0, 0));
    QCOMPARE(plainSelected.text, palette.color(QPalette::HighlightedText));
  }
};

QTEST_MAIN(LorvaneWindowTest)
#include "lorvane_window_test.moc"
