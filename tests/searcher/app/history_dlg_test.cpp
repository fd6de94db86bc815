#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "searcher/app/history_dlg.h"
#include "searcher/app/lorvane_dlg.h"
#include "searcher/engine/command_line.h"
#include "test_support/temp_dir.h"
#include "widgets/program_art.h"
#include "test_support/patience.h"

using suite::testing::kPatienceMs;

namespace {

namespace fs = std::filesystem;
using lorvane::CHistoryDlg;
using suite::testing::WriteFile;

struct RecordingShell : suite::DesktopShell {
  std::vector<std::string> opened;
  void OpenFolder(const std::string& folder, const std::string&) override { opened.push_back(folder); }
  void OpenFile(const std::string& path) override { opened.push_back(path); }
};

// A history directory whose descriptor restores: one result line in a
// one-line target.
std::string Search(const std::string& work, const std::string& name, const std::string& target) {
  const std::string history = work + "/" + name;
  fs::create_directories(history);
  WriteFile(history + "/000000.txt", "0000000001|0000000001| one ERROR\r\n");
  WriteFile(history + "/result.lvn",
            history + "\r\n" + target + "\r\nERROR\r\nN\r\n11B\r\n1\r\n1\r\n_mp[0]=0;\r\n");
  return history;
}

bool WaitForListing(CHistoryDlg& dialog) {
  return suite::testing::WaitUntil([&] { return !dialog.Listing(); });
}

QPushButton* Button(QWidget& dialog, const char* caption) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == QString::fromUtf8(caption)) return button;
  }
  return nullptr;
}

// The report list, as the view it is.
QTreeView* List(QWidget& dialog) { return dialog.findChild<QTreeView*>(); }

int RowCount(QTreeView& list) { return list.model()->rowCount(); }

std::string Cell(QTreeView& list, int row, int column) {
  return list.model()->index(row, column).data().toString().toStdString();
}

int RowOf(QTreeView& list, const std::string& time) {
  for (int row = 0; row < RowCount(list); ++row) {
    if (Cell(list, row, 0) == time) return row;
  }
  return -1;
}

QPoint RowPoint(QTreeView& list, int row) { return list.visualRect(list.model()->index(row, 0)).center(); }

// Runs `act` on the history browser once it is open modally and listed.
void WhenBrowserOpens(std::function<void(CHistoryDlg&)> act) {
  suite::testing::WhenModal<CHistoryDlg>([act](CHistoryDlg* dialog) {
    if (QTest::qWaitForWindowExposed(dialog, kPatienceMs) && WaitForListing(*dialog)) act(*dialog);
  });
}

}  // namespace

class HistoryDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  void init() {
    dir = std::make_unique<suite::testing::TempDir>();
    work = *dir / "__Lorvane__";
    fs::create_directories(work + "/__Clipboard__");
    target = WriteFile(*dir / "app.log", "one ERROR\r\n");
  }

  void listsOldestFirstAndRestoresTheChosenRowByButton() {
    Search(work, "20041203_091502", target);
    const std::string older = Search(work, "20041201_235959", target);
    RecordingShell shell;
    CHistoryDlg dialog(work, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    QVERIFY(WaitForListing(dialog));
    QTreeView& list = *List(dialog);
    QVERIFY(list.isVisible() && list.isEnabled());
    QCOMPARE(RowCount(list), 2);
    QCOMPARE(Cell(list, 0, 0), std::string("2004-12-01 23:59:59"));
    QCOMPARE(list.model()->headerData(7, Qt::Horizontal).toString(), QString::fromUtf8("存在性"));
    QCOMPARE(list.selectionModel()->selectedRows().size(), qsizetype{1});
    QCOMPARE(list.selectionModel()->selectedRows().front().row(), 0);
    const QString summary = dialog.findChild<QPlainTextEdit*>()->toPlainText();
    QVERIFY(summary.startsWith(QString::fromUtf8("[目标文件目录] ") + QString::fromStdString(target) + "\n"));

    QTest::mouseClick(Button(dialog, "恢复历史情境"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.SelectedDescriptor(), older + "/result.lvn");
  }

  void buttonsKeysAndTheShell() {
    RecordingShell shell;
    CHistoryDlg dialog(work, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    QVERIFY(WaitForListing(dialog));
    for (const char* caption : {"恢复历史情境", "打开根目录", "删  除", "刷  新", "取  消"}) {
      QPushButton* button = Button(dialog, caption);
      QVERIFY2(button, caption);
      QCOMPARE(button->cursor().shape(), suite::HandCursor().shape());
    }
    QVERIFY(Button(dialog, "恢复历史情境")->isDefault());
    QCOMPARE(RowCount(*List(dialog)), 0);

    QTest::mouseClick(Button(dialog, "打开根目录"), Qt::LeftButton);
    QCOMPARE(shell.opened, std::vector<std::string>{work});
    for (Qt::Key key : {Qt::Key_F1, Qt::Key_F3, Qt::Key_F4, Qt::Key_F12}) QTest::keyClick(List(dialog), key);
    QVERIFY(dialog.isVisible());
    QCOMPARE(shell.opened.size(), size_t{1});
    QTest::keyClick(List(dialog), Qt::Key_F2);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  void doubleClickRestoresTheRowAndEnterConfirms() {
    Search(work, "20041201_235959", target);
    const std::string newer = Search(work, "20041203_091502", target);
    RecordingShell shell;
    {
      CHistoryDlg dialog(work, shell);
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
      QVERIFY(WaitForListing(dialog));
      QTest::mouseClick(List(dialog)->viewport(), Qt::LeftButton, {}, RowPoint(*List(dialog), 1));
      QTest::mouseDClick(List(dialog)->viewport(), Qt::LeftButton, {}, RowPoint(*List(dialog), 1));
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(dialog.SelectedDescriptor(), newer + "/result.lvn");
    }
    CHistoryDlg dialog(work, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    QVERIFY(WaitForListing(dialog));
    // The arrow keys choose a row as a click does.
    QTest::keyClick(List(dialog), Qt::Key_Down);
    QCOMPARE(dialog.SelectedDescriptor(), newer + "/result.lvn");
    QTest::keyClick(List(dialog), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  // A double click on the empty part of the list restores nothing; the list
  // has the keys after its listing; the caption shows empty.
  void onlyARowRestoresAndTheListHasTheKeys() {
    Search(work, "20041201_235959", target);
    const std::string newer = Search(work, "20041203_091502", target);
    RecordingShell shell;
    CHistoryDlg dialog(work, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    QVERIFY(WaitForListing(dialog));
    QVERIFY(!dialog.windowTitle().isEmpty() && dialog.windowTitle().trimmed().isEmpty());
    QTreeView& list = *List(dialog);
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(&list));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, 1));
    const QPoint below(RowPoint(list, 1).x(), list.viewport()->height() - 3);
    QVERIFY(list.indexAt(below).row() < 0);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, below);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QTest::keyClick(&list, Qt::Key_Up);
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.SelectedDescriptor(), newer + "/result.lvn");
  }

  void deletingListsAgainWithoutTheDirectory() {
    const std::string older = Search(work, "20041201_235959", target);
    Search(work, "20041203_091502", target);
    RecordingShell shell;
    CHistoryDlg dialog(work, shell);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    QVERIFY(WaitForListing(dialog));
    QTest::mouseClick(Button(dialog, "删  除"), Qt::LeftButton);
    QVERIFY(WaitForListing(dialog));
    QVERIFY(!fs::exists(older));
    QCOMPARE(dialog.findChild<QLineEdit*>()->text(),
             QString::fromUtf8("成功删除搜索历史目录: ") + QString::fromStdString(older));
    QCOMPARE(RowCount(*List(dialog)), 1);
    QCOMPARE(Cell(*List(dialog), 0, 0), std::string("2004-12-03 09:15:02"));

    // Refreshing finds what appeared meanwhile.
    Search(work, "20041205_000000", target);
    QTest::mouseClick(Button(dialog, "刷  新"), Qt::LeftButton);
    QVERIFY(WaitForListing(dialog));
    QCOMPARE(RowCount(*List(dialog)), 2);
  }

  void closingWhileListingEndsCleanly() {
    for (int i = 0; i < 200; ++i) {
      Search(work, "2004120" + std::to_string(i / 90) + "_0000" + std::to_string(10 + i % 90), target);
    }
    RecordingShell shell;
    for (int round = 0; round < 5; ++round) {
      CHistoryDlg dialog(work, shell);
      dialog.show();
      QTest::qWait(round);
      dialog.reject();
    }
  }

  // The main window opens the browser with F2 and restores what it hands back.
  void mainWindowRestoresTheChosenDescriptor() {
    RecordingShell shell;
    lorvane::CLorvaneDlg window(lorvane::CommandLineRequest{}, shell);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, kPatienceMs));
    const std::string history = Search(window.Context().workDirectory, "19991231_235959", target);
    auto lastStatus = [&window] { return suite::ToUtf8(window.Status().Lines()[2]); };

    // F2 in the browser closes it without restoring.
    const std::string before = lastStatus();
    WhenBrowserOpens([](CHistoryDlg& dialog) { QTest::keyClick(List(dialog), Qt::Key_F2); });
    QTest::keyClick(&window, Qt::Key_F2);
    QCOMPARE(lastStatus(), before);

    bool chose = false;
    WhenBrowserOpens([&chose](CHistoryDlg& dialog) {
      QTreeView& list = *List(dialog);
      const int row = RowOf(list, "1999-12-31 23:59:59");
      if (row < 0) return dialog.reject();
      chose = true;
      QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, RowPoint(list, row));
      QTest::mouseClick(Button(dialog, "恢复历史情境"), Qt::LeftButton);
    });
    QTest::mouseClick(Button(window, "搜索历史(F2)"), Qt::LeftButton);
    fs::remove_all(history);
    QVERIFY(chose);
    QVERIFY(lastStatus().ends_with("toResultLoad: 成功载入一个 result.lvn 搜索历史文件。"));
    QCOMPARE(window.Context().historyDirectory, history);
    QCOMPARE(window.Context().targetPath, target);
    // The restore shows its first result's virtual page on a worker.
    QVERIFY(suite::testing::WaitUntil([&] { return window.RunningWorkers() == 0 && window.ControlsEnabled(); }));
  }

 private:
  std::unique_ptr<suite::testing::TempDir> dir;
  std::string work, target;
};

QTEST_MAIN(HistoryDlgTest)
#include "history_dlg_test.moc"
