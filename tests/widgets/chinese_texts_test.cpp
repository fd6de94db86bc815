// Qt's own texts and the programs' buttons in Chinese, with Qt's translations
// and without them; captions that show no text.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "test_support/patience.h"
#include "widgets/blank_caption.h"
#include "widgets/message_box_texts.h"
#include "widgets/qt_translations.h"

using suite::testing::kPatienceMs;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QString LabelText(const QWidget& window, const char* name) {
  const auto* label = window.findChild<QLabel*>(name);
  return label ? label->text() : QStringLiteral("(no label %1)").arg(name);
}

}  // namespace

class ChineseTextsTest : public QObject {
  Q_OBJECT

 private slots:
  // First, while no translation is installed in this process.
  void withoutTheTranslationsOnlyQtsOwnTextsStayEnglish() {
    QVERIFY(!suite::InstallChineseQtTexts(*qApp, QStringLiteral("/nowhere/translations")));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("OK"));

    QMessageBox box(QMessageBox::Question, QStringLiteral("box"), QStringLiteral("text"),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    suite::UseChineseButtonTexts(box);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), U("确定"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), U("取消"));
    QCOMPARE(box.button(QMessageBox::Yes)->text(), U("是(&Y)"));
    QCOMPARE(box.button(QMessageBox::No)->text(), U("否(&N)"));
    // A box without some of them is fine.
    QMessageBox plain(QMessageBox::NoIcon, QStringLiteral("box"), QStringLiteral("text"), QMessageBox::Ok);
    suite::UseChineseButtonTexts(plain);
    QCOMPARE(plain.button(QMessageBox::Ok)->text(), U("确定"));
    QCOMPARE(plain.button(QMessageBox::Yes), nullptr);
  }

  void theTranslationsGiveTheStandardDialogsInChinese() {
    QVERIFY2(suite::InstallChineseQtTexts(*qApp), "qtbase_zh_CN.qm is missing: run scripts/setup.sh");
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("box"), QStringLiteral("text"), QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), U("确定"));

    QFileDialog chooser(nullptr, QStringLiteral("chooser"));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setNameFilters({QStringLiteral("txt (*.txt)"), QFileDialog::tr("All Files (*)")});
    chooser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chooser, kPatienceMs));
    QCOMPARE(LabelText(chooser, "lookInLabel"), U("查找范围："));
    QCOMPARE(LabelText(chooser, "fileNameLabel"), U("文件名称(&N)："));
    QCOMPARE(LabelText(chooser, "fileTypeLabel"), U("文件类型："));
    const auto* buttons = chooser.findChild<QDialogButtonBox*>("buttonBox");
    QVERIFY(buttons);
    QCOMPARE(buttons->button(QDialogButtonBox::Open)->text(), U("打开(&O)"));
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), U("取消"));
    QCOMPARE(chooser.nameFilters().last(), U("所有文件 (*)"));
    // The chooser's file types follow Qt's default locale; a folder's, which
    // Qt's catalogue lacks, is the suite's own.
    QCOMPARE(QLocale().language(), QLocale::Chinese);
    QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), U("文件夹"));
  }

  void aBlankCaptionIsNotReplacedByTheProgramsName() {
    QCoreApplication::setApplicationName(QStringLiteral("Program"));
    QDialog dialog;
    suite::SetBlankCaption(dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog, kPatienceMs));
    // An empty title is what Qt replaces; a blank one shows as nothing.
    for (const QString& title : {dialog.windowTitle(), dialog.windowHandle()->title()}) {
      QVERIFY(!title.isEmpty());
      QVERIFY(title.trimmed().isEmpty());
    }
  }
};

QTEST_MAIN(ChineseTextsTest)
#include "chinese_texts_test.moc"
