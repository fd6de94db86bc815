#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QToolButton>
#include <functional>
#include <memory>
#include <filesystem>

#include "common/codepage.h"
#include "common/desktop_shell.h"
#include "common/path_util.h"
#include "snippets/list_chooser_dlg.h"
#include "snippets/name_dlg.h"
#include "snippets/snipkeep_dlg.h"
#include "test_support/temp_dir.h"
#include "widgets/color_list_box.h"
#include "widgets/single_instance.h"
#include "test_support/patience.h"

using suite::testing::kPatienceMs;
using suite::testing::WhenModal;

namespace {

using snipkeep::CopyOperation;
using snipkeep::Flag;
using snipkeep::SnipkeepDlg;
using suite::testing::ReadFile;
using suite::testing::TempDir;
using suite::testing::WriteFile;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

struct RecordingShell : suite::DesktopShell {
  std::vector<std::string> opened;
  void OpenFolder(const std::string& folder, const std::string&) override { opened.push_back("folder:" + folder); }
  void OpenFile(const std::string& path) override { opened.push_back(path); }
};

// Rows of the example list; the file holds GBK text, an empty line and CR LF ends.
enum Row { kCd, kBuild, kMakeClean, kMakeAll, kEnd, kX1, kY2, kBlanks, kChinese, kLastHeading };
const char* const kExample =
    "cd /tmp\r\nbuild[release]\r\nmake clean\r\nmake all\r\n[end]\r\n\r\nx[1]\r\ny[2]\r\n   \r\n复制 中文\r\nlast[h]\r\n";

const char* const kDefaultList = "Snipkeep缺省列表文件";

// A program directory with its list directory; the window is made on demand.
struct Fixture {
  TempDir root;
  RecordingShell shell;
  std::unique_ptr<SnipkeepDlg> dialog;

  std::string ListDir() const { return root / "config/"; }
  std::string List(const std::string& name, const char* utf8Content = "x\r\n") {
    std::filesystem::create_directories(ListDir());
    return WriteFile(ListDir() + name + ".txt", suite::Cp(utf8Content));
  }
  SnipkeepDlg& Open() {
    dialog = std::make_unique<SnipkeepDlg>(shell, ListDir(), root.Path());
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get(), kPatienceMs)) qWarning("window not exposed");
    return *dialog;
  }
};

QString Status(const SnipkeepDlg& dialog) { return QString::fromStdString(suite::ToUtf8(dialog.StatusLine().substr(17))); }
QString Clipboard() { return QGuiApplication::clipboard()->text(); }

void ClickEntry(SnipkeepDlg& dialog, int row) {
  suite::CColorListBox* list = dialog.SnippetList();
  list->scrollToItem(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QString ChooserNames(snipkeep::ListChooserDlg* chooser) {
  QStringList names;
  for (int row = 0; row < chooser->NameList()->count(); ++row) names << chooser->NameList()->item(row)->text();
  return names.join('|');
}

}  // namespace

class SnipkeepWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { suite::SetActiveCodePage(suite::CodePage::Gbk); }

  void firstRunShowsTheFailureUntilTheEditButtonCreatesTheDefaultList() {
    Fixture f;
    SnipkeepDlg& dialog = f.Open();
    const std::string defaultList = f.ListDir() + kDefaultList + ".txt";
    QCOMPARE(dialog.windowTitle(), U("Snipkeep  v0.5.2 (2004.11.28 Sunday)"));
    QCOMPARE(Status(dialog), U("载入失败! 因为文件 ") + QString::fromStdString(defaultList) + U(" 不存在!"));
    QVERIFY(suite::PathExists(f.ListDir()));
    QCOMPARE(dialog.SnippetList()->count(), 0);
    QVERIFY(!dialog.SingleLineBox()->isEnabled() && !dialog.MultiLineBox()->isEnabled());
    for (int button = 1; button <= 4; ++button) QVERIFY(!dialog.CopyButton(static_cast<CopyOperation>(button))->isEnabled());
    const bool atStart[] = {true, true, false, true, false};
    for (int flag = 0; flag < 5; ++flag) QCOMPARE(dialog.FlagBox(static_cast<Flag>(flag))->isChecked(), atStart[flag]);
    QCOMPARE(dialog.palette().color(QPalette::WindowText), QColor(100, 150, 100));

    QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kEdit), Qt::LeftButton);
    QVERIFY(suite::PathExists(defaultList));
    QCOMPARE(Status(dialog), U("成功创建缺省列表文件 ") + QString::fromStdString(defaultList));
    QCOMPARE(f.shell.opened, std::vector<std::string>{defaultList});
    WriteFile(defaultList, "a\r\n");
    QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kRefresh), Qt::LeftButton);
    QCOMPARE(Status(dialog), U("载入成功! 将文件 ") + QString::fromStdString(defaultList) + U(" 内容应用到列表!"));
    QCOMPARE(dialog.windowTitle(), U("Snipkeep  v0.5.2 (2004.11.28 Sunday)   [Snipkeep缺省列表文件]"));
    QCOMPARE(dialog.SnippetList()->count(), 1);
  }

  void controlsCarryTheirTextsAndToolTips() {
    Fixture f;
    SnipkeepDlg& dialog = f.Open();
    QCOMPARE(dialog.CopyButton(CopyOperation::MultiDoubled)->text(), U("3.将[多行]框内容复制到剪贴板 (逐行追加回车符)"));
    QCOMPARE(dialog.FlagBox(Flag::CaretAtEnd)->text(), U("0.点击[单行]条目，光标定位到[单行]框行尾"));
    const char* const tips[] = {"选择文件", "编辑文件", "刷新列表", "打开目录", "帮助信息"};
    for (int i = 0; i < 5; ++i) {
      QToolButton* button = dialog.IconButton(static_cast<SnipkeepDlg::IconButtonIndex>(i));
      QCOMPARE(button->toolTip(), U(tips[i]));
      QVERIFY(!button->icon().isNull());
      QCOMPARE(button->cursor().shape(), Qt::BitmapCursor);
    }
    QCOMPARE(dialog.CopyButton(CopyOperation::Single)->cursor().shape(), Qt::BitmapCursor);

    // Help opens the read-me beside the program only when it is there.
    QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kHelp), Qt::LeftButton);
    QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kOpenDirectory), Qt::LeftButton);
    const std::string readMe = WriteFile(f.root / "ReadMe.txt", "help\r\n");
    QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kHelp), Qt::LeftButton);
    QCOMPARE(f.shell.opened, (std::vector<std::string>{"folder:" + f.ListDir(), readMe}));
  }

  void entryClicksFillTheBoxesAndCopyThroughTheClipboard() {
    Fixture f;
    f.List(kDefaultList, kExample);
    SnipkeepDlg& dialog = f.Open();
    suite::CColorListBox* list = dialog.SnippetList();
    QCOMPARE(list->count(), 10);
    QCOMPARE(list->item(kChinese)->text(), U("复制 中文"));
    QCOMPARE(list->ColourOf(kCd), suite::MakeEntryColour(0, 0, 255));
    QCOMPARE(list->ColourOf(kBuild), suite::MakeEntryColour(200, 100, 50));

    ClickEntry(dialog, kCd);
    QCOMPARE(Clipboard(), U("cd /tmp\r\n"));
    QCOMPARE(Status(dialog), U("操作成功，将[单行]框内容复制到剪贴板(追加回车符)。"));
    QVERIFY(dialog.SingleLineBox()->isEnabled() && !dialog.MultiLineBox()->isEnabled());
    QCOMPARE(dialog.SingleLineBox()->cursorPosition(), 7);
    QCOMPARE(dialog.focusWidget(), dialog.SingleLineBox());
    QVERIFY(dialog.CopyButton(CopyOperation::Single)->isEnabled());
    QVERIFY(!dialog.CopyButton(CopyOperation::Multi)->isEnabled());

    ClickEntry(dialog, kBuild);
    QCOMPARE(dialog.MultiLineBox()->toPlainText(), U("make clean\nmake all\n[end]\n"));
    QCOMPARE(Clipboard(), U("make clean\r\n\r\nmake all\r\n\r\n[end]\r\n\r\n"));
    QVERIFY(!dialog.SingleLineBox()->isEnabled() && dialog.SingleLineBox()->text().isEmpty());
    QCOMPARE(dialog.focusWidget(), dialog.MultiLineBox());
    QVERIFY(dialog.MultiLineBox()->textCursor().atEnd());
    QVERIFY(!dialog.CopyButton(CopyOperation::SingleWithLineEnd)->isEnabled());

    // The selected entry clicked again changes no selection: nothing is copied.
    QGuiApplication::clipboard()->setText("other");
    ClickEntry(dialog, kBuild);
    QCOMPARE(Clipboard(), U("other"));
    QTest::mouseClick(dialog.CopyButton(CopyOperation::Multi), Qt::LeftButton);
    QCOMPARE(Clipboard(), U("make clean\r\nmake all\r\n[end]\r\n"));
    QCOMPARE(Status(dialog), U("操作成功，将[多行]框内容复制到剪贴板。"));

    // What the user typed is copied; the box keeps its single line ends.
    dialog.MultiLineBox()->moveCursor(QTextCursor::End);
    dialog.MultiLineBox()->insertPlainText(U("echo 好"));
    QTest::mouseClick(dialog.CopyButton(CopyOperation::MultiDoubled), Qt::LeftButton);
    QCOMPARE(Clipboard(), U("make clean\r\n\r\nmake all\r\n\r\n[end]\r\n\r\necho 好"));
    QCOMPARE(dialog.MultiLineBox()->toPlainText(), U("make clean\nmake all\n[end]\necho 好"));

    ClickEntry(dialog, kChinese);
    QCOMPARE(Clipboard(), U("复制 中文\r\n"));
    ClickEntry(dialog, kBlanks);
    QCOMPARE(Clipboard(), U("   \r\n"));

    // A heading followed by a heading: an empty box that isn't copied.
    ClickEntry(dialog, kX1);
    QVERIFY(dialog.MultiLineBox()->isEnabled() && dialog.MultiLineBox()->toPlainText().isEmpty());
    QCOMPARE(Status(dialog), U("操作失败，因为[多行]框内容为空(逐行追加回车符)。"));
    QCOMPARE(Clipboard(), U("   \r\n"));

    // An emptied single-line box is reported, not copied.
    ClickEntry(dialog, kCd);
    dialog.SingleLineBox()->clear();
    QTest::mouseClick(dialog.CopyButton(CopyOperation::Single), Qt::LeftButton);
    QCOMPARE(Status(dialog), U("操作失败，因为[单行]框内容为空。"));
    QCOMPARE(Clipboard(), U("cd /tmp\r\n"));
  }

  void arrowKeysCopyEachEntryAndKeepTheFocusInTheList() {
    Fixture f;
    f.List(kDefaultList, kExample);
    SnipkeepDlg& dialog = f.Open();
    dialog.SnippetList()->setFocus();
    QTest::keyClick(dialog.SnippetList(), Qt::Key_Home);
    QCOMPARE(Clipboard(), U("cd /tmp\r\n"));
    QTest::keyClick(dialog.SnippetList(), Qt::Key_Down);
    QCOMPARE(Clipboard(), U("make clean\r\n\r\nmake all\r\n\r\n[end]\r\n\r\n"));
    QTest::keyClick(dialog.SnippetList(), Qt::Key_Down);
    QCOMPARE(Clipboard(), U("make clean\r\n"));
    QCOMPARE(dialog.SingleLineBox()->text(), U("make clean"));
    QCOMPARE(dialog.focusWidget(), dialog.SnippetList());
    QTest::keyClick(dialog.SnippetList(), Qt::Key_Up);
    QCOMPARE(Clipboard(), U("make clean\r\n\r\nmake all\r\n\r\n[end]\r\n\r\n"));
  }

  void checkBoxPairsAndWhatAClickThenDoes() {
    Fixture f;
    f.List(kDefaultList, kExample);
    SnipkeepDlg& dialog = f.Open();
    auto checked = [&](Flag flag) { return dialog.FlagBox(flag)->isChecked(); };
    auto click = [&](Flag flag) {
      QCheckBox* box = dialog.FlagBox(flag);
      QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    };

    click(Flag::CopySingle);
    QVERIFY(checked(Flag::CopySingle) && !checked(Flag::CopySingleWithLineEnd));
    ClickEntry(dialog, kCd);
    QCOMPARE(Clipboard(), U("cd /tmp"));
    QCOMPARE(Status(dialog), U("操作成功，将[单行]框内容复制到剪贴板。"));
    click(Flag::CopySingleWithLineEnd);
    QVERIFY(checked(Flag::CopySingleWithLineEnd) && !checked(Flag::CopySingle));
    click(Flag::CopySingleWithLineEnd);
    QVERIFY(!checked(Flag::CopySingleWithLineEnd) && !checked(Flag::CopySingle));
    click(Flag::CaretAtEnd);
    ClickEntry(dialog, kMakeAll);
    QCOMPARE(dialog.SingleLineBox()->text(), U("make all"));
    QCOMPARE(dialog.SingleLineBox()->cursorPosition(), 0);
    QCOMPARE(Clipboard(), U("cd /tmp"));

    click(Flag::CopyMulti);
    QVERIFY(checked(Flag::CopyMulti) && !checked(Flag::CopyMultiDoubled));
    ClickEntry(dialog, kBuild);
    QCOMPARE(Clipboard(), U("make clean\r\nmake all\r\n[end]\r\n"));
  }

  void escapeAndTheCloseBoxEndTheWindowEnterDoesNothing() {
    Fixture f;
    f.List(kDefaultList, kExample);
    SnipkeepDlg& dialog = f.Open();
    ClickEntry(dialog, kCd);
    QTest::keyClick(dialog.SingleLineBox(), Qt::Key_Return);
    QTest::keyClick(dialog.SnippetList(), Qt::Key_Enter);
    QVERIFY(dialog.isVisible());
    QTest::keyClick(dialog.SingleLineBox(), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    SnipkeepDlg& again = f.Open();
    QVERIFY(again.close());
    QVERIFY(!again.isVisible());
  }

  void theBackgroundDragsTheWindowAControlDoesNot() {
    Fixture f;
    SnipkeepDlg& dialog = f.Open();
    dialog.move(100, 100);
    const QPoint start = dialog.pos();
    const QPoint background(3, 3);
    QVERIFY(!dialog.childAt(background));
    QTest::mousePress(&dialog, Qt::LeftButton, {}, background);
    QTest::mouseMove(&dialog, background + QPoint(40, 30));
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, background + QPoint(40, 30));
    QCOMPARE(dialog.pos(), start + QPoint(40, 30));

    const QPoint moved = dialog.pos();
    QWidget* status = dialog.StatusField();
    QTest::mousePress(status, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(status, QPoint(45, 35));
    QTest::mouseRelease(status, Qt::LeftButton, {}, QPoint(45, 35));
    QCOMPARE(dialog.pos(), moved);
  }

  void chooserListsSortedWithTheDefaultInBlueAndChoosesByDoubleClick() {
    Fixture f;
    for (const char* name : {"c", "a", "B", kDefaultList}) f.List(name);
    WriteFile(f.ListDir() + "skip.log", "x\r\n");
    WriteFile(f.ListDir() + "SKAutoLoad.def", f.ListDir() + "B.txt");
    SnipkeepDlg& dialog = f.Open();
    QVERIFY(dialog.windowTitle().endsWith("   [B]"));

    auto ran = WhenModal<snipkeep::ListChooserDlg>([&](snipkeep::ListChooserDlg* chooser) {
      QTRY_VERIFY_WITH_TIMEOUT(!chooser->Filling(), kPatienceMs);
      QCOMPARE(ChooserNames(chooser), U("a|B|c|Snipkeep缺省列表文件"));
      QCOMPARE(chooser->NameList()->ColourOf(3), suite::MakeEntryColour(0, 0, 250));
      QCOMPARE(chooser->NameList()->ColourOf(0), suite::EntryColour{0});
      QCOMPARE(chooser->NameList()->currentRow(), 1);
      // Qt would put the program's name into an empty caption.
      QVERIFY(!chooser->windowHandle()->title().isEmpty() && chooser->windowHandle()->title().trimmed().isEmpty());
      QCOMPARE(chooser->NoteLabel()->text(), U("操作: 鼠标左键双击欲载入的列表文件名"));
      QCOMPARE(chooser->NewButton()->toolTip(), U("新建列表文件"));
      QCOMPARE(chooser->DeleteButton()->toolTip(), U("删除列表文件"));
      QCOMPARE(chooser->CloseButton()->toolTip(), U("关闭"));
      QListWidget* list = chooser->NameList();
      const QPoint first = list->visualItemRect(list->item(0)).center();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
      QVERIFY(chooser->isVisible());
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
    });
    QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kChoose), Qt::LeftButton);
    QVERIFY(*ran);
    QVERIFY(dialog.windowTitle().endsWith("   [a]"));
    QCOMPARE(Status(dialog), U("载入成功! 文件 a.txt"));
    QCOMPARE(ReadFile(f.ListDir() + "SKAutoLoad.def"), f.ListDir() + "a.txt");
    QVERIFY(f.shell.opened.empty());
  }

  void chooserCreatesDeletesAndClosesWithoutAChoice() {
    Fixture f;
    for (const char* name : {"a", "notes"}) f.List(name);
    SnipkeepDlg& dialog = f.Open();

    // A name that an existing list has in another case is refused, the chooser stays.
    auto ran = WhenModal<snipkeep::ListChooserDlg>([&](snipkeep::ListChooserDlg* chooser) {
      QTRY_VERIFY_WITH_TIMEOUT(!chooser->Filling(), kPatienceMs);
      auto named = WhenModal<snipkeep::NameDlg>([](snipkeep::NameDlg* names) {
        QCOMPARE(names->NoteLabel()->text(), U("文件名不能包括以下字符:\n / : * ? \" < > |"));
        QCOMPARE(names->OkButton()->text(), U("确定"));
        QCOMPARE(names->CancelButton()->text(), U("取消"));
        QVERIFY(!names->windowHandle()->title().isEmpty() && names->windowHandle()->title().trimmed().isEmpty());
        QVERIFY(names->NameField()->text().isEmpty());
        QTest::keyClicks(names->NameField(), "NOTES");
        QTest::mouseClick(names->OkButton(), Qt::LeftButton);
      });
      auto told = WhenModal<QMessageBox>([](QMessageBox* box) {
        QCOMPARE(box->text(), U("不能输入重名文件"));
        QCOMPARE(box->button(QMessageBox::Ok)->text(), U("确定"));
        box->accept();
      });
      QTest::mouseClick(chooser->NewButton(), Qt::LeftButton);
      QVERIFY(*named && *told && chooser->isVisible());

      // Delete asks first; the list is filled again without the name.
      chooser->NameList()->setCurrentRow(0);
      auto asked = WhenModal<QMessageBox>([](QMessageBox* box) {
        QCOMPARE(box->text(), U("您真的要删除该列表文件吗?"));
        QCOMPARE(box->button(QMessageBox::Yes)->text(), U("是(&Y)"));
        QCOMPARE(box->button(QMessageBox::No)->text(), U("否(&N)"));
        QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
      });
      QTest::mouseClick(chooser->DeleteButton(), Qt::LeftButton);
      QVERIFY(*asked);
      QTRY_VERIFY_WITH_TIMEOUT(!chooser->Filling(), kPatienceMs);
      QCOMPARE(ChooserNames(chooser), U("notes"));
      QTest::mouseClick(chooser->CloseButton(), Qt::LeftButton);
    });
    QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kChoose), Qt::LeftButton);
    QVERIFY(*ran);
    QVERIFY(!suite::PathExists(f.ListDir() + "a.txt"));
    // Without a choice the current list (the missing default list) is loaded again.
    QVERIFY(Status(dialog).startsWith(U("载入失败! 因为文件 ")));

    // A new list is chosen at once and opened for editing.
    ran = WhenModal<snipkeep::ListChooserDlg>([&](snipkeep::ListChooserDlg* chooser) {
      auto named = WhenModal<snipkeep::NameDlg>([](snipkeep::NameDlg* names) {
        names->NameField()->insert(U("  新 list "));
        QTest::keyClick(names->NameField(), Qt::Key_Return);
      });
      QTest::mouseClick(chooser->NewButton(), Qt::LeftButton);
      QVERIFY(*named);
    });
    QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kChoose), Qt::LeftButton);
    QVERIFY(*ran);
    const std::string created = f.ListDir() + "新 list.txt";
    QVERIFY(suite::PathExists(created));
    QVERIFY(dialog.windowTitle().endsWith(U("   [新 list]")));
    QCOMPARE(f.shell.opened, std::vector<std::string>{created});
  }

  // GBK lacks the emoji, and no code page decodes a byte 0xB0 alone: the
  // names shown can't give the files' names back, the entries do.
  void chooserLoadsEveryListItShowsWhateverItsName() {
    SUITE_QSKIP_WITHOUT_GB18030();
    Fixture f;
#ifdef _WIN32
    // A Windows name is UTF-16: no byte that isn't UTF-8, no backslash.
    const char* const first = "中文";
    const QString shownFirst = U("中文");
#else
    const char* const first = "raw\xB0";
    const QString shownFirst = U("raw\\xB0");
#endif
    f.List(first, "raw\r\n");
    f.List("\xF0\x9F\x98\x80", "smile\r\n");
    SnipkeepDlg& dialog = f.Open();
    const QString names[] = {shownFirst, U("\xF0\x9F\x98\x80")};
    const char* const contents[] = {"raw", "smile"};
    for (int row : {0, 1}) {
      auto ran = WhenModal<snipkeep::ListChooserDlg>([&](snipkeep::ListChooserDlg* chooser) {
        QTRY_VERIFY_WITH_TIMEOUT(!chooser->Filling(), kPatienceMs);
        QCOMPARE(ChooserNames(chooser), names[0] + "|" + names[1]);
        QListWidget* list = chooser->NameList();
        const QPoint entry = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, entry);
      });
      QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kChoose), Qt::LeftButton);
      QVERIFY(*ran);
      QCOMPARE(Status(dialog), U("载入成功! 文件 ") + names[row] + U(".txt"));
      QCOMPARE(dialog.SnippetList()->count(), 1);
      QCOMPARE(dialog.SnippetList()->item(0)->text(), U(contents[row]));
    }
    QCOMPARE(ReadFile(f.ListDir() + "SKAutoLoad.def"), f.ListDir() + "\xF0\x9F\x98\x80.txt");

    // A new list gets the name typed, not a "?" for what GBK lacks.
    auto ran = WhenModal<snipkeep::ListChooserDlg>([&](snipkeep::ListChooserDlg* chooser) {
      auto named = WhenModal<snipkeep::NameDlg>([](snipkeep::NameDlg* names) {
        names->NameField()->insert(U("\xF0\x9F\x98\x81 new"));
        QTest::keyClick(names->NameField(), Qt::Key_Return);
      });
      QTest::mouseClick(chooser->NewButton(), Qt::LeftButton);
      QVERIFY(*named);
    });
    QTest::mouseClick(dialog.IconButton(SnipkeepDlg::kChoose), Qt::LeftButton);
    QVERIFY(*ran);
    QVERIFY(suite::PathExists(f.ListDir() + "\xF0\x9F\x98\x81 new.txt"));
    QVERIFY(dialog.windowTitle().endsWith(U("   [\xF0\x9F\x98\x81 new]")));
  }

  void chooserFillsQueuedBehindARunningFillAndWaitsForThemBeforeItGoes() {
    Fixture f;
    for (int i = 0; i < 200; ++i) f.List("list" + std::to_string(i));
    SnipkeepDlg& dialog = f.Open();
    snipkeep::ListChooser chooser(dialog.Core().Lists(), "list7");
    {
      snipkeep::ListChooserDlg chooserDialog(chooser);
      for (int i = 0; i < 3; ++i) chooserDialog.StartFilling();
      QTRY_VERIFY_WITH_TIMEOUT(!chooserDialog.Filling(), kPatienceMs);
      QCOMPARE(chooserDialog.NameList()->count(), 200);
      QCOMPARE(chooserDialog.NameList()->currentItem()->text(), U("list7"));
      QTest::keyClick(chooserDialog.NameList(), Qt::Key_Return);  // Enter chooses, as a double click does
      chooserDialog.StartFilling();
    }  // goes while a fill may still run
    QVERIFY(chooser.Choice());
    QCOMPARE(chooser.Choice()->fileName, std::string("list7.txt"));
  }

  void aSecondStartBringsTheWindowForwardWhateverListItShows() {
    QVERIFY(snipkeep::IsSnipkeepTitle(U("Snipkeep  v0.5.2 (2004.11.28 Sunday)")));
    QVERIFY(snipkeep::IsSnipkeepTitle(U("Snipkeep  v0.5.2 (2004.11.28 Sunday)   [a b]")));
    QVERIFY(!snipkeep::IsSnipkeepTitle(U("Snipkeep v0.5.2 (2004.11.28 Sunday)")));
    QVERIFY(!snipkeep::IsSnipkeepTitle(U("Snipkeep  v0.5.2 (2004.11.28 Sunday) [a]")));

    Fixture f;
    f.List("mine");
    WriteFile(f.ListDir() + "SKAutoLoad.def", f.ListDir() + "mine.txt");
    const QString name = "{snipkeep-test}-" + QString::number(QCoreApplication::applicationPid());
    suite::SingleInstanceGuard first(name);
    QVERIFY(first.IsFirst());
    SnipkeepDlg& dialog = f.Open();
    first.SetWindow(&dialog, [&dialog] { return snipkeep::IsSnipkeepTitle(dialog.windowTitle()); });
    dialog.showMinimized();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.isMinimized(), kPatienceMs);
    {
      suite::SingleInstanceGuard second(name);
      QVERIFY(!second.IsFirst());
    }
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isMinimized(), kPatienceMs);
    QVERIFY(dialog.windowTitle().endsWith("   [mine]"));
  }

  void aListNamedStarShowsItsNameInTheTitle() {
#ifdef _WIN32
    QSKIP("a Windows name can't hold a '*'");
#endif
    Fixture f;
    f.List("*");
    WriteFile(f.ListDir() + "SKAutoLoad.def", f.ListDir() + "*.txt");
    SnipkeepDlg& dialog = f.Open();
    QCOMPARE(dialog.windowHandle()->title(), U("Snipkeep  v0.5.2 (2004.11.28 Sunday)   [*]"));
  }

  void charactersTheCodePageLacksAreCopiedAsTheBoxesShowThem() {
    // GBK holds neither the emoji nor U+20000: the copies still do.
    SUITE_QSKIP_WITHOUT_GB18030();
    const QString lacking = U("smile \xF0\x9F\x98\x80 \xF0\xA0\x80\x80 中");
    Fixture f;
    f.List(kDefaultList, kExample);
    SnipkeepDlg& dialog = f.Open();
    ClickEntry(dialog, kCd);
    dialog.SingleLineBox()->setText(lacking);
    QTest::mouseClick(dialog.CopyButton(CopyOperation::Single), Qt::LeftButton);
    QCOMPARE(Clipboard(), lacking);
    ClickEntry(dialog, kBuild);
    dialog.MultiLineBox()->setPlainText(lacking + U("\n") + lacking);
    QTest::mouseClick(dialog.CopyButton(CopyOperation::Multi), Qt::LeftButton);
    QCOMPARE(Clipboard(), lacking + U("\r\n") + lacking);
  }
};

QTEST_MAIN(SnipkeepWindowTest)
#include "snipkeep_window_test.moc"
