// The evacuator's dialog, driven as a user would, on a scratch folder.
// Mouse input takes the window system's path, so that a double click arrives
// as press, release, press, release, as a real one does.
#define QTEST_QPA_MOUSE_HANDLING

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "common/path_util.h"
#include "evacuator/tuckaway_dlg.h"
#include "evacuator/tuckaway_texts.h"
#include "test_support/lock_holder.h"
#include "test_support/temp_dir.h"
#include "widgets/color_list_box.h"
#include "widgets/dialog_colours.h"
#include "test_support/patience.h"

using suite::testing::kPatienceMs;

namespace tuckaway {
namespace {

using suite::testing::ReadFile;
using suite::testing::WriteFile;
using Colours = std::vector<suite::EntryColour>;

constexpr suite::EntryColour kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr suite::EntryColour kRed = 0x0000FF;

class RecordingShell : public suite::DesktopShell {
 public:
  std::vector<std::string> folders;
  void OpenFolder(const std::string& folder, const std::string&) override { folders.push_back(folder); }
  void OpenFile(const std::string&) override {}
};

bool WaitForListing(TuckawayDlg& dialog) {
  if (!dialog.ListingRunning()) return true;
  QSignalSpy finished(&dialog, &TuckawayDlg::ListingFinished);
  return finished.wait(kPatienceMs);
}

QStringList Shown(const TuckawayDlg& dialog) {
  QStringList texts;
  for (int i = 0; i < dialog.FileList()->count(); ++i) texts << dialog.FileList()->item(i)->text();
  return texts;
}

Colours ShownColours(const TuckawayDlg& dialog) {
  Colours colours;
  for (int i = 0; i < dialog.FileList()->count(); ++i) colours.push_back(dialog.FileList()->ColourOf(i));
  return colours;
}

// Whether a row is drawn on `background` with some pixel near `text`.
bool DrawnAs(suite::CColorListBox* list, int row, const QColor& background, const QColor& text) {
  const QImage image = list->viewport()->grab().toImage();
  const QRect rect = list->visualItemRect(list->item(row));
  bool textFound = false;
  for (int y = rect.top(); y <= rect.bottom() && !textFound; ++y) {
    for (int x = rect.left(); x <= rect.right() && !textFound; ++x) {
      const QColor pixel = image.pixelColor(x, y);
      textFound = std::abs(pixel.red() - text.red()) + std::abs(pixel.green() - text.green()) +
                      std::abs(pixel.blue() - text.blue()) < 60;
    }
  }
  return textFound && image.pixelColor(rect.right() - 2, rect.center().y()) == background;
}

}  // namespace

class TuckawayDlgTest : public QObject {
  Q_OBJECT

  std::unique_ptr<suite::testing::TempDir> dir_;
  RecordingShell shell_;

  std::string In(const std::string& name) const { return *dir_ / name; }
  std::string Target(const std::string& name = "") const {
    return In(std::string(kWorkDirectoryName) + "/20041203_091502" + (name.empty() ? "" : "/" + name));
  }
  void Remove(const std::string& name) { QVERIFY(std::remove(In(name).c_str()) == 0); }

  // A shown dialog on the scratch folder, its first listing done.
  std::unique_ptr<TuckawayDlg> Open() {
    auto dialog = std::make_unique<TuckawayDlg>(dir_->Path(), shell_, [] { return std::string("20041203_091502"); });
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get(), kPatienceMs) || !WaitForListing(*dialog)) return nullptr;
    return dialog;
  }

 private slots:
  void initTestCase() { suite::SetActiveCodePage(suite::CodePage::Gbk); }
  void init() {
    dir_ = std::make_unique<suite::testing::TempDir>();
    shell_.folders.clear();
  }

  // The line under the source field says where the folder came from; a refused
  // folder shows why, lists nothing and can't be moved from.
  void saysWhichFolderAndRefusesOnesItMustNotEmpty() {
    WriteFile(In("app.log"), "x");
    {
      auto dialog = Open();
      QVERIFY(dialog);
      QCOMPARE(dialog->SourceNoteLabel()->text(), QString("(程序所在的目录)"));
    }
    SourceFolder refused{dir_->Path() + "/", SourceOrigin::kCommandLine, suite::Cp("不整理此目录: 这是系统目录")};
    TuckawayDlg dialog(refused, shell_, [] { return std::string("20041203_091502"); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    QVERIFY(WaitForListing(dialog));
    QCOMPARE(dialog.SourceNoteLabel()->text(), QString("不整理此目录: 这是系统目录"));
    QCOMPARE(dialog.SourceField()->text().toStdString(), dir_->Path() + "/");
    QCOMPARE(Shown(dialog), QStringList());
    QVERIFY(!dialog.MoveButton()->isEnabled() && !dialog.RefreshButton()->isEnabled());
    QVERIFY(dialog.OpenFolderButton()->isEnabled());
    QVERIFY(!suite::PathExists(In(kWorkDirectoryName)));
  }

  void listsPlainFilesSortedWithoutRegardToCase() {
    for (const char* name : {"Beta.log", "alpha.txt", "CHARLIE.dat", ".hidden", "readme.TXT", "Tuckaway.exe"}) {
      WriteFile(In(name), "x");
    }
    QVERIFY(QDir(QString::fromStdString(dir_->Path())).mkpath(QString(kWorkDirectoryName) + "/old"));
    auto dialog = Open();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QString("Tuckaway v0.1  (2004.12.03)"));
    QCOMPARE(dialog->SourceField()->text().toStdString(), dir_->Path() + "/");
    QCOMPARE(Shown(*dialog), QStringList({".hidden", "alpha.txt", "Beta.log", "CHARLIE.dat"}));
    QCOMPARE(ShownColours(*dialog), Colours(4, 0));
    QVERIFY(dialog->RefreshButton()->isEnabled() && dialog->MoveButton()->isEnabled());
    QCOMPARE(dialog->palette().color(QPalette::WindowText), QColor(100, 150, 100));
    QCOMPARE(dialog->palette().color(QPalette::Window), suite::MenuColour());

    // Out of order too, each name goes to its place.
    dialog->ListAddSorted("b");
    dialog->ListAddSorted("ALPHA");
    QCOMPARE(Shown(*dialog), QStringList({".hidden", "ALPHA", "alpha.txt", "b", "Beta.log", "CHARLIE.dat"}));

    // A refresh lists anew.
    WriteFile(In("Bravo"), "x");
    Remove("alpha.txt");
    QTest::mouseClick(dialog->RefreshButton(), Qt::LeftButton);
    QVERIFY(WaitForListing(*dialog));
    QCOMPARE(Shown(*dialog), QStringList({".hidden", "Beta.log", "Bravo", "CHARLIE.dat"}));
  }

  void doubleClickTakesAnEntryOffTheMove() {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteFile(In(name), name);
    auto dialog = Open();
    QVERIFY(dialog);
    suite::CColorListBox* list = dialog->FileList();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(Shown(*dialog), QStringList({"a.txt", "c.txt"}));
    // A single click only selects.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QCOMPARE(list->count(), 2);

    QTest::mouseClick(dialog->MoveButton(), Qt::LeftButton);
    QCOMPARE(ShownColours(*dialog), Colours({kBlue, kBlue}));
    QCOMPARE(ReadFile(In("b.txt")), "b.txt");
    QVERIFY(!suite::PathExists(Target("b.txt")));
    QCOMPARE(ReadFile(Target("c.txt")), "c.txt");
  }

  void moveColoursEntriesInMoveOrderAndKeepsWhatFails() {
    const std::string binary("\x00\r\n\x1A\xFF tail", 10);
#ifdef _WIN32
    const std::string gbkName = "中.txt";  // a Windows name is UTF-16: it can't hold GBK bytes
#else
    const std::string gbkName = "\xD6\xD0.txt";  // not UTF-8: shown by the code page
#endif
    WriteFile(In("b.log"), binary);
    WriteFile(In("A.txt"), "a");
    WriteFile(In("c.dat"), "c");
    WriteFile(In(gbkName), "gbk");
    WriteFile(In("ReadMe.txt"), "ours");
    auto dialog = Open();
    QVERIFY(dialog);
    QCOMPARE(Shown(*dialog), QStringList({"A.txt", "b.log", "c.dat", "中.txt"}));

    Remove("c.dat");  // gone since the listing: it can't be moved
    QTest::mouseClick(dialog->MoveButton(), Qt::LeftButton);
    QCOMPARE(Shown(*dialog), QStringList({"A.txt", "b.log", "c.dat", "中.txt"}));
    QCOMPARE(ShownColours(*dialog), Colours({kBlue, kBlue, kRed, kBlue}));
    QCOMPARE(ReadFile(Target("b.log")), binary);
    QCOMPARE(ReadFile(Target(gbkName)), "gbk");
    QCOMPARE(ReadFile(In("ReadMe.txt")), "ours");

    // The target field has the focus and is selected from its end back to
    // after its first character, so that the start of the path is in sight.
    QLineEdit* target = dialog->TargetField();
    QCOMPARE(target->text().toStdString(), Target());
    QCOMPARE(dialog->focusWidget(), target);
    QCOMPARE(target->cursorPosition(), 1);
    QCOMPARE(target->selectedText(), target->text().mid(1));

    // A second move without a refresh takes the same names again: all gone.
    QTest::mouseClick(dialog->MoveButton(), Qt::LeftButton);
    QCOMPARE(ShownColours(*dialog), Colours(4, kRed));
    QCOMPARE(ReadFile(Target("A.txt")), "a");
  }

  void aFileAnotherProgramHoldsStaysAndShowsRed() {
    for (const char* name : {"a.log", "busy.log", "c.log"}) WriteFile(In(name), name);
    suite::testing::LockFromAnotherProcess holder(In("busy.log"));
    QVERIFY(holder.Held());
    auto dialog = Open();
    QVERIFY(dialog);
    QTest::mouseClick(dialog->MoveButton(), Qt::LeftButton);
    QCOMPARE(Shown(*dialog), QStringList({"a.log", "busy.log", "c.log"}));
    QCOMPARE(ShownColours(*dialog), Colours({kBlue, kRed, kBlue}));
    QCOMPARE(ReadFile(In("busy.log")), "busy.log");
    QVERIFY(!suite::PathExists(Target("busy.log")));
    QCOMPARE(ReadFile(Target("c.log")), "c.log");
  }

  void selectedEntriesAreDrawnOnTheirColour() {
    for (const char* name : {"a", "b"}) WriteFile(In(name), name);
    auto dialog = Open();
    QVERIFY(dialog);
    suite::CColorListBox* list = dialog->FileList();
    // Listed, without colour: selected, the highlight text on black.
    list->setCurrentRow(0);
    QVERIFY(DrawnAs(list, 0, Qt::black, list->palette().color(QPalette::HighlightedText)));

    Remove("b");
    QTest::mouseClick(dialog->MoveButton(), Qt::LeftButton);
    list->setCurrentRow(0);
    QVERIFY(DrawnAs(list, 0, QColor(0, 0, 255), QColor(255, 255, 0)));
    list->setCurrentRow(1);
    QVERIFY(DrawnAs(list, 1, QColor(255, 0, 0), QColor(0, 255, 255)));
    // Not selected: its colour on the list's background.
    QVERIFY(DrawnAs(list, 0, list->palette().color(QPalette::Base), QColor(0, 0, 255)));
  }

  void openFolderShowsTheLastTarget() {
    WriteFile(In("a"), "a");
    auto dialog = Open();
    QVERIFY(dialog);
    QTest::mouseClick(dialog->OpenFolderButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->MoveButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->OpenFolderButton(), Qt::LeftButton);
    QCOMPARE(shell_.folders, std::vector<std::string>({In(""), Target()}));
  }

  void enterAndEscapeClose() {
    WriteFile(In("a"), "a");
    auto dialog = Open();
    QVERIFY(dialog);
    QTest::mouseClick(dialog->MoveButton(), Qt::LeftButton);
    QTest::keyClick(dialog->TargetField(), Qt::Key_Return);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    dialog->show();
    QTest::keyClick(dialog->FileList(), Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
  }

  void tenThousandFilesAreListedAndMovedWhole() {
    QStringList expected;
    for (int i = 0; i < 10000; ++i) {
      const std::string name = (i % 2 ? "File" : "file") + std::to_string(100000 + i);  // case mustn't matter
      WriteFile(In(name), name);
      expected << QString::fromStdString(name);
    }
    // Closed, and gone, while the listing runs: nothing is left waiting.
    for (int wait : {0, 2, 10}) {
      auto dialog = std::make_unique<TuckawayDlg>(dir_->Path(), shell_);
      dialog->show();
      QTest::qWait(wait);
    }
    auto dialog = Open();
    QVERIFY(dialog);
    QTest::mouseClick(dialog->RefreshButton(), Qt::LeftButton);
    QTest::keyClick(dialog->FileList(), Qt::Key_Escape);
    dialog.reset();

    dialog = Open();
    QVERIFY(dialog);
    QCOMPARE(Shown(*dialog), expected);
    QTest::mouseClick(dialog->MoveButton(), Qt::LeftButton);
    QCOMPARE(ShownColours(*dialog), Colours(10000, kBlue));
    QCOMPARE(QDir(QString::fromStdString(Target())).entryList(QDir::Files).size(), 10000);
    QCOMPARE(ReadFile(Target("File109999")), "File109999");
    QCOMPARE(QDir(QString::fromStdString(dir_->Path())).entryList(QDir::Files | QDir::Hidden).size(), 0);
  }
};

}  // namespace tuckaway

QTEST_MAIN(tuckaway::TuckawayDlgTest)
#include "tuckaway_dlg_test.moc"
