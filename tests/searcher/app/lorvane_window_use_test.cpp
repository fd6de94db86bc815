// The searcher's window driven as a user drives it: lines of megabytes,
// choosing entries again, the keys after a worker, the layout, the figures.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/codepage.h"
#include "searcher/app/gui_call.h"
#include "searcher/app/history_dlg.h"
#include "searcher/app/lorvane_dlg.h"
#include "searcher/app/notepad_dlg.h"
#include "searcher/engine/command_line.h"
#include "test_support/patience.h"
#include "test_support/temp_dir.h"
#include "widgets/color_list_box.h"
#include "widgets/entry_text.h"
#include "widgets/repaint_throttle.h"
#include "window_test_support.h"

using suite::testing::kPatienceMs;

namespace {

namespace fs = std::filesystem;
using lorvane::CLorvaneDlg;
using lorvane::CommandLineRequest;
using lorvane::testing::ButtonOf;
using lorvane::testing::ClickEntry;
using lorvane::testing::LastStatus;
using lorvane::testing::RecordingShell;
using lorvane::testing::WaitForWorkers;

CommandLineRequest SearchRequest(const std::string& keyword, const std::string& target, bool matchCase = true) {
  CommandLineRequest request;
  request.autoLoad = request.autoSearch = true;
  request.keyword = keyword;
  request.targetPath = target;
  request.matchCase = matchCase;
  return request;
}

bool SearchDone(CLorvaneDlg& dialog) {
  return suite::testing::WaitUntil([&] {
    return dialog.RunningWorkers() == 0 && dialog.ControlsEnabled() && LastStatus(dialog).find("搜索完毕") == 0;
  });
}

QListWidget* ListNamed(QWidget& dialog, const char* name) { return dialog.findChild<QListWidget*>(name); }
QLineEdit* EditNamed(QWidget& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }

// The record of result n at line n, as the result list holds it.
std::string Numbered(int lines, int everyNth, const char* hit) {
  std::string text;
  for (int i = 1; i <= lines; ++i) text += "line " + std::to_string(i) + (i % everyNth ? "" : hit) + "\r\n";
  return text;
}

}  // namespace

class LorvaneWindowUseTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  // A matching line of 5 MiB: the search ends, every list shows a bounded
  // part of it on one row, the entries and the clipboard keep it whole, and
  // the window still answers Esc.
  void aLineOfMegabytesIsShownInPartAndKeptWhole() {
    suite::testing::TempDir dir;
    const std::string longLine = "start NEEDLE " + std::string(5 << 20, 'x') + " end";
    const std::string target =
        suite::testing::WriteFile(dir / "long.log", "before\r\n" + longLine + "\r\nafter NEEDLE\r\n");
    RecordingShell shell;
    CLorvaneDlg dialog(SearchRequest("NEEDLE", target), shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    QVERIFY(SearchDone(dialog));
    QVERIFY(fs::exists(dialog.Context().historyDirectory + "/result.lvn"));

    QListWidget* results = ListNamed(dialog, "resultList");
    QCOMPARE(results->count(), 2);
    const QString shown = results->item(0)->text();
    QVERIFY(shown.size() <= int(suite::kShownEntryBytes) + 1);
    QVERIFY(shown.startsWith("0000000001|0000000002| start NEEDLE xxx"));
    QVERIFY(shown.endsWith(QChar(0x2026)));
    QCOMPARE(dialog.ListText(lorvane::ListControl::Results, 0).size(), 23 + longLine.size() + 2);

    ClickEntry(results, 0);
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(longLine + "\r\n"));
    auto* page = dialog.findChild<suite::CColorListBox*>();
    QCOMPARE(page->count(), 3);
    QVERIFY(page->item(1)->text().size() <= int(suite::kShownEntryBytes) + 1);
    QCOMPARE(dialog.ListText(lorvane::ListControl::VirtualPage, 1), longLine);
    // Every row is one line high, the long one too.
    QCOMPARE(page->visualItemRect(page->item(1)).height(), page->visualItemRect(page->item(0)).height());

    // F4: the page in the notepad, whole; the long line wrapped at the edge.
    bool wrappedWhole = false;
    const auto ran = suite::testing::WhenModal<lorvane::CNotepadDlg>([&](lorvane::CNotepadDlg* notepad) {
      wrappedWhole = notepad->Wrapped() && notepad->Text() == QString::fromStdString("before\n" + longLine + "\nafter NEEDLE\n");
      QTest::keyClick(notepad, Qt::Key_F4);
    });
    QTest::keyClick(&dialog, Qt::Key_F4);
    QVERIFY(*ran && wrappedWhole);

    dialog.repaint();  // painted with the long rows in sight
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
  }

  // A line of megabytes in the notepad is laid out in pieces of bounded
  // length (what makes it paint at once and cost nothing while idle), shown
  // wrapped; a copy out of it, and an edit inside it, see one line.
  void theNotepadLaysOutALongLineInPiecesAndCopiesItWhole() {
    const QString longLine = "start " + QString(3 * lorvane::CNotepadDlg::kFoldLength + 5, 'x') + QString::fromUtf8("中 end");
    lorvane::CNotepadDlg notepad;
    notepad.SetText("before\r\n" + longLine + "\r\nafter\r\n");
    notepad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&notepad, kPatienceMs));
    QVERIFY(notepad.Wrapped());
    auto* edit = notepad.findChild<QPlainTextEdit*>();
    int longest = 0;
    for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next()) {
      longest = std::max(longest, block.length() - 1);
    }
    QCOMPARE(longest, int(lorvane::CNotepadDlg::kFoldLength));
    QCOMPARE(notepad.Text(), "before\n" + longLine + "\nafter\n");
    edit->selectAll();
    edit->copy();
    QCOMPARE(QApplication::clipboard()->text(), "before\n" + longLine + "\nafter\n");
    // Where the long line's character `at` stands in the box: after
    // "before" and its line end, and one piece end per piece before it.
    const auto positionOf = [](qsizetype at) { return int(7 + at + at / lorvane::CNotepadDlg::kFoldLength); };
    // A selection from inside one piece into the next.
    QTextCursor cursor(edit->document());
    const qsizetype from = lorvane::CNotepadDlg::kFoldLength - 2;
    cursor.setPosition(positionOf(from));
    cursor.setPosition(positionOf(from + 4), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    edit->copy();
    QCOMPARE(QApplication::clipboard()->text(), longLine.mid(from, 4));
    // Enter inside a piece breaks the line there, and only there.
    const qsizetype cut = 2 * lorvane::CNotepadDlg::kFoldLength + 10;
    cursor.setPosition(positionOf(cut));
    edit->setTextCursor(cursor);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(notepad.Text(), "before\n" + longLine.left(cut) + "\n" + longLine.mid(cut) + "\nafter\n");
    // Text without long lines is shown as it is.
    notepad.SetText("a\r\nb\r\n");
    QVERIFY(!notepad.Wrapped());
    QCOMPARE(edit->document()->blockCount(), 3);
  }

  // A CR inside a line keeps it one line in the notepad, as in the lists.
  void aCrInsideALineKeepsItOneLineInTheNotepad() {
    lorvane::CNotepadDlg notepad;
    notepad.SetText(QString::fromUtf8("0000000001|0000000007| a\rb\r\n0000000002|0000000009| c\u2029d\r\n"));
    auto* edit = notepad.findChild<QPlainTextEdit*>();
    QCOMPARE(edit->document()->blockCount(), 3);
    QCOMPARE(notepad.Text(), QString::fromUtf8("0000000001|0000000007| a b\n0000000002|0000000009| c d\n"));
  }

  void theShownPartOfAnEntry() {
    QCOMPARE(suite::ShownEntryText("a\tb\rc\r\n"), QString("a b c"));
    QCOMPARE(suite::ShownEntryText(std::string(suite::kShownEntryBytes, 'y')).size(),
             qsizetype(suite::kShownEntryBytes));
    // A cut never splits a double-byte character: "中" in GBK is D6 D0.
    std::string gbk = "a";
    while (gbk.size() < suite::kShownEntryBytes + 10) gbk += "\xD6\xD0";
    const QString cut = suite::ShownEntryText(gbk);
    QVERIFY(cut.endsWith(QString::fromUtf8("中…")));
    QVERIFY(!cut.contains(QChar(0xFFFD)) && !cut.contains("\\x"));
  }

  // A new pre-read empties the figures of the search before it.
  // A GBK and a UTF-8 log with the same Chinese lines, in one run of the
  // window (whose messages are GBK here): the same keyword finds the same
  // lines in both, and the results, the page, the notepad and the copy show
  // them as Chinese; a restore of the UTF-8 one shows them so again.
  void aGbkAndAUtf8LogShowTheSameChineseInOneRun() {
    suite::testing::TempDir dir;
    const std::string utf8 = "2026-12-08 INFO \xE7\x94\xA8\xE6\x88\xB7 ann\r\nplain\r\n"
                             "2026-12-08 WARN \xE7\x94\xA8\xE6\x88\xB7 bob \xE9\x80\x80\xE5\x87\xBA\r\n";
    const std::string gbk = "2026-12-08 INFO \xD3\xC3\xBB\xA7 ann\r\nplain\r\n"
                            "2026-12-08 WARN \xD3\xC3\xBB\xA7 bob \xCD\xCB\xB3\xF6\r\n";
    const QString warn = QString::fromUtf8("2026-12-08 WARN 用户 bob 退出");
    CommandLineRequest request;
    request.autoLoad = request.autoSearch = true;
    request.keyword = "用户";  // locale text, UTF-8 here
    request.targetPath = suite::testing::WriteFile(dir / "utf8.log", utf8);
    RecordingShell shell;
    CLorvaneDlg dialog(request, shell);
    dialog.show();
    std::vector<QStringList> shown;
    std::string utf8History;
    for (const std::string& log : {request.targetPath, suite::testing::WriteFile(dir / "gbk.log", gbk)}) {
      if (log != request.targetPath) dialog.OpenFile(log);  // pre-read, then searched at once
      QTRY_VERIFY_WITH_TIMEOUT(dialog.Context().targetPath == log && dialog.RunningWorkers() == 0 &&
                                   LastStatus(dialog).find("其中 2 行包含关键字") != std::string::npos,
                               kPatienceMs);
      if (utf8History.empty()) utf8History = dialog.Context().historyDirectory;
      QListWidget* results = dialog.findChild<QListWidget*>("resultList");
      QVERIFY(results);
      QStringList texts;
      for (int i = 0; i < results->count(); ++i) texts << results->item(i)->text();
      shown.push_back(texts);
      ClickEntry(results, 1);
      QVERIFY(WaitForWorkers(dialog));
      QCOMPARE(QApplication::clipboard()->text(), warn + "\r\n");
      auto* page = dialog.findChild<suite::CColorListBox*>();
      QCOMPARE(page->currentItem()->text(), warn);
      bool notepadShowsIt = false;
      const auto ran = suite::testing::WhenModal<lorvane::CNotepadDlg>([&](lorvane::CNotepadDlg* notepad) {
        notepadShowsIt = notepad->Text().contains(warn);
        QTest::keyClick(notepad, Qt::Key_F4);
      });
      QTest::keyClick(&dialog, Qt::Key_F4);
      QVERIFY(*ran && notepadShowsIt);
    }
    QCOMPARE(shown[0], shown[1]);
    QCOMPARE(shown[0].size(), 2);
    QVERIFY(shown[0][1].endsWith(warn));

    dialog.OpenFile(utf8History + "/result.lvn");
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(dialog.findChild<QLineEdit*>("keywordEdit")->text(), QString::fromUtf8("用户"));
    QVERIFY(dialog.findChild<QListWidget*>("resultList")->item(1)->text().endsWith(warn));
  }

  void aNewFileLeavesNoOldFigures() {
    suite::testing::TempDir dir;
    const std::string first = suite::testing::WriteFile(dir / "hits.log", Numbered(4620, 2, " HIT"));
    const std::string second = suite::testing::WriteFile(dir / "other.log", "one\r\ntwo\r\n");
    RecordingShell shell;
    // Without automatic search: the new file is only pre-read.
    CLorvaneDlg plain(CommandLineRequest{}, shell);
    plain.show();
    plain.OpenFile(first);
    QVERIFY(WaitForWorkers(plain));
    EditNamed(plain, "keywordEdit")->setText("HIT");
    QTest::keyClick(&plain, Qt::Key_Return);
    QVERIFY(SearchDone(plain));
    QCOMPARE(EditNamed(plain, "resultsEdit")->text(), QString::fromUtf8("共 0 2310 行"));
    QCOMPARE(ListNamed(plain, "resultFileList")->count(), 2);
    ClickEntry(ListNamed(plain, "resultFileList"), 1);
    QVERIFY(WaitForWorkers(plain));
    QCOMPARE(ListNamed(plain, "resultList")->count(), 310);
    plain.OpenFile(second);
    QVERIFY(WaitForWorkers(plain));
    // The keyword stands selected for typing over, as the pre-read left it.
    QLineEdit* keyword = EditNamed(plain, "keywordEdit");
    QCOMPARE(keyword->selectedText(), QString("HIT"));
    QCOMPARE(EditNamed(plain, "readLinesEdit")->text(), QString());
    QCOMPARE(EditNamed(plain, "resultsEdit")->text(), QString());
    QCOMPARE(ListNamed(plain, "resultFileList")->count(), 0);
    QCOMPARE(ListNamed(plain, "resultList")->count(), 0);
  }

  // Typed or given on the command line, a keyword GBK can't hold is refused
  // and stays as typed; it was searched as "?" before.
  void aKeywordTheCodePageCannotHoldIsRefused() {
    suite::testing::TempDir dir;
    const std::string target = suite::testing::WriteFile(dir / "q.log", "what?\r\nok\r\n");
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    dialog.OpenFile(target);
    QVERIFY(WaitForWorkers(dialog));
    const QString emoji = QString::fromUtf8("😀");
    EditNamed(dialog, "keywordEdit")->setText(emoji);
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(QString::fromStdString(LastStatus(dialog)),
             QString::fromUtf8("OnBtnStartSearch: 关键字含有代码页 GBK 不能表示的字符!"));
    QCOMPARE(dialog.RunningWorkers(), 0);
    QCOMPARE(EditNamed(dialog, "keywordEdit")->text(), emoji);
    QVERIFY(dialog.Context().historyDirectory.empty());

    CLorvaneDlg given(SearchRequest("\xF0\x9F\x98\x80", target), shell);
    given.show();
    QVERIFY(suite::testing::WaitUntil([&] { return LastStatus(given).find("搜索失败") == 0; }));
    QCOMPARE(QString::fromStdString(LastStatus(given)), QString::fromUtf8("搜索失败: 关键字含有代码页 GBK 不能表示的字符!"));
    QVERIFY(WaitForWorkers(given));
    QCOMPARE(EditNamed(given, "keywordEdit")->text(), emoji);
    QVERIFY(given.Context().historyDirectory.empty());
  }

  // Clicking the selected result file loads it again; clicking the selected
  // result line builds its page again; the keys walk the results after a
  // worker, as the focus comes back to the list.
  void choosingAgainAndWalkingWithTheKeys() {
    suite::testing::TempDir dir;
    const std::string target = suite::testing::WriteFile(dir / "few.log", Numbered(100, 10, " HIT"));
    RecordingShell shell;
    CLorvaneDlg dialog(SearchRequest("HIT", target), shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog, kPatienceMs));
    QVERIFY(SearchDone(dialog));
    QListWidget* files = ListNamed(dialog, "resultFileList");
    QListWidget* results = ListNamed(dialog, "resultList");
    QCOMPARE(files->count(), 1);
    QVERIFY(files->item(0)->isSelected());
    dialog.ListClear(lorvane::ListControl::Results);
    ClickEntry(files, 0);
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(results->count(), 10);
    QCOMPARE(QString::fromStdString(LastStatus(dialog)),
             QString::fromUtf8("打开搜索结果文件 000000.txt 成功! 读入 10 条搜索结果记录。"));

    auto* page = dialog.findChild<suite::CColorListBox*>();
    ClickEntry(results, 2);
    QVERIFY(WaitForWorkers(dialog));

    QCOMPARE(page->currentItem()->text(), QString("line 30 HIT"));
    QTest::mouseClick(ButtonOf(dialog, "使用该值"), Qt::LeftButton);
    QCOMPARE(page->count(), 0);
    ClickEntry(results, 2);
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(page->currentItem()->text(), QString("line 30 HIT"));

    // The page's worker locked the window; the list has the keys again.
    // (The offscreen platform activates every splash shown: the window's own
    // focus is what a user's keys reach once it is active again.)
    QCOMPARE(dialog.focusWidget(), results);
    QTest::keyClick(results, Qt::Key_Down);
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(page->currentItem()->text(), QString("line 40 HIT"));
    QTest::keyClick(results, Qt::Key_End);
    QVERIFY(WaitForWorkers(dialog));
    QCOMPARE(page->currentItem()->text(), QString("line 100 HIT"));
    QCOMPARE(dialog.focusWidget(), results);
  }

  // The hints come and go, the controls stay where they are. The window can
  // be resized: the lists and the virtual page take the room, the rows of
  // controls keep their height; its minimum fits a 1366x768 screen at 150 %
  // (911x512) with a panel and a caption.
  void theLayoutStaysPutWhileHintsBlinkAndTheListsTakeTheRoom() {
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    QVERIFY(dialog.minimumSize().width() < dialog.maximumSize().width());
    QVERIFY(dialog.minimumSize().height() < dialog.maximumSize().height());
    QVERIFY2(dialog.minimumSize().width() <= 895 && dialog.minimumSize().height() <= 458,
             qPrintable(QString("minimum %1x%2").arg(dialog.minimumWidth()).arg(dialog.minimumHeight())));
    QListWidget* results = ListNamed(dialog, "resultList");
    QLineEdit* start = dialog.findChild<QLineEdit*>("startLineEdit");
    dialog.ShowHelpHints(true);
    QApplication::processEvents();
    const QRect resultsShown = results->geometry();
    const QPoint startShown = start->mapTo(&dialog, QPoint());
    dialog.ShowHelpHints(false);
    QApplication::processEvents();
    QCOMPARE(results->geometry(), resultsShown);
    QCOMPARE(start->mapTo(&dialog, QPoint()), startShown);
    // The progress bar in the hints' place moves nothing either.
    dialog.EnableControls(false, true);
    QApplication::processEvents();
    QCOMPARE(results->geometry(), resultsShown);
    dialog.EnableControls(true, true);

    auto* page = dialog.findChild<suite::CColorListBox*>();
    QPushButton* view = ButtonOf(dialog, "查看内容");
    const QSize resultsBefore = results->size(), pageBefore = page->size(), viewBefore = view->size();
    const int startHeight = start->height();
    const int fromBottom = dialog.height() - start->mapTo(&dialog, QPoint()).y();
    dialog.resize(dialog.size() + QSize(200, 160));
    QVERIFY(suite::testing::WaitUntil([&] { return results->height() > resultsBefore.height(); }));
    QVERIFY(results->width() > resultsBefore.width());
    QVERIFY(page->height() > pageBefore.height() && page->width() > pageBefore.width());
    QCOMPARE(results->height() - resultsBefore.height() + page->height() - pageBefore.height(), 160);
    QCOMPARE(view->size(), viewBefore);
    QCOMPARE(start->height(), startHeight);
    QCOMPARE(dialog.height() - start->mapTo(&dialog, QPoint()).y(), fromBottom);
  }

  // The main window, the history browser and the notepad open at a size that
  // fits the screen they open on, wholly on it, or at their layout's minimum
  // where the screen is smaller. Run by ctest on a 1366x768 screen at 150 %
  // and on a 1024x768 one; the offscreen platform's own screen is narrower
  // than the main window can be.
  void theWindowsFitTheScreen() {
    const auto fits = [](QWidget* window) {
      const QRect free = window->screen()->availableGeometry();
      const QRect frame = window->frameGeometry();
      const QSize least = window->minimumSizeHint();
      const bool across = frame.width() <= free.width() ? frame.left() >= free.left() && frame.right() <= free.right()
                                                       : window->width() <= least.width();
      const bool down = frame.height() <= free.height() ? frame.top() >= free.top() && frame.bottom() <= free.bottom()
                                                       : window->height() <= least.height();
      if (!across || !down) {
        qWarning("%s: frame %dx%d at %d,%d on a free area of %dx%d at %d,%d", window->metaObject()->className(),
                 frame.width(), frame.height(), frame.x(), frame.y(), free.width(), free.height(), free.x(), free.y());
      }
      return across && down;
    };
    RecordingShell shell;
    CLorvaneDlg dialog(CommandLineRequest{}, shell);
    const QSize free = QApplication::primaryScreen()->availableGeometry().size();
    qInfo("a free area of %dx%d", free.width(), free.height());
    if (free.width() < dialog.minimumSizeHint().width()) QSKIP("a screen narrower than the main window's minimum");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    QVERIFY(fits(&dialog));
    bool browserFits = false;
    const auto ran = suite::testing::WhenModal<lorvane::CHistoryDlg>([&](lorvane::CHistoryDlg* browser) {
      QVERIFY(QTest::qWaitForWindowExposed(browser, kPatienceMs));
      browserFits = fits(browser);
    });
    QTest::keyClick(&dialog, Qt::Key_F2);
    QVERIFY(*ran && browserFits);
    lorvane::CNotepadDlg notepad(&dialog);
    notepad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&notepad, kPatienceMs));
    QVERIFY(fits(&notepad));
  }

  // A worker's posted calls and its waiting calls reach the window in the
  // order made, however the posted ones are batched.
  void postedAndWaitingCallsKeepTheirOrder() {
    QObject window;
    lorvane::PostedCalls posted(&window);
    std::atomic<bool> closing{false};
    std::vector<int> seen;
    std::atomic<bool> done{false};
    std::thread worker([&] {
      for (int i = 0; i < 20000; ++i) {
        if (i % 997 == 0) {
          lorvane::RunQueuedFirst(&window, closing, posted, [&] { seen.push_back(-i); });
        } else {
          posted.Post([&seen, i] { seen.push_back(i); });
        }
      }
      lorvane::RunQueuedFirst(&window, closing, posted, [] {});
      done = true;
    });
    QVERIFY(suite::testing::WaitUntil([&] { return done.load(); }));
    worker.join();
    QCOMPARE(seen.size(), size_t{20000});
    for (int i = 0; i < 20000; ++i) QCOMPARE(seen[size_t(i)], i % 997 == 0 ? -i : i);
  }

  // Thousands of changes a second reach the screen, but the window paints at
  // most once per interval.
  void repaintsAreBoundedAndNoneIsLost() {
    suite::testing::TempDir dir;
    const std::string target = suite::testing::WriteFile(dir / "many.log", Numbered(40000, 2, " HIT"));
    RecordingShell shell;
    QElapsedTimer clock;
    clock.start();
    CLorvaneDlg dialog(SearchRequest("HIT", target), shell);
    dialog.show();
    QVERIFY(SearchDone(dialog));
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(ListNamed(dialog, "resultList")->count(), 2000);
    // 2000 appended entries and 40000 lines' figures; the paints are bounded
    // by the time taken, whatever the machine.
    QVERIFY2(dialog.Throttle().Paints() <= elapsed / 25 + 2,
             (std::to_string(dialog.Throttle().Paints()) + " paints in " + std::to_string(elapsed) + " ms").c_str());

    // A held-back change is painted when the interval is over.
    QWidget window;
    suite::RepaintThrottle throttle(&window, std::chrono::milliseconds(30));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, kPatienceMs));
    const int before = throttle.Paints();
    window.update();
    window.update();
    QApplication::processEvents();
    window.update();
    QTRY_VERIFY_WITH_TIMEOUT(throttle.Paints() > before, kPatienceMs);
    const int after = throttle.Paints();
    window.update();  // right after a paint: held back, then painted
    QTRY_VERIFY_WITH_TIMEOUT(throttle.Paints() > after, kPatienceMs);
  }
};

QTEST_MAIN(LorvaneWindowUseTest)
#include "lorvane_window_use_test.moc"
