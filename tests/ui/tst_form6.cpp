#include "testprogram.h"

#include "app/form1.h"
#include "editing/form5.h"
#include "editing/form6.h"
#include "editing/frmmenu.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

const QByteArray kFile = "#A\r\na\r\n#B\r\nb\r\n#C\r\nc\r\n";

/** Starts on memo.cdt with buttons A, B, C and opens the rename dialog on button `index`. */
Form6 &renameButton(TestProgram &t, int index)
{
    t.startOn(t.writeBytes("memo.cdt", kFile));
    t.program.frmMenu().SetIndex(index);
    t.program.frmMenu().Menu_ButtonNameChange_Click();
    return t.program.form6();
}

/** The same, but on entry `index` of the editor, as its list menu does. */
Form6 &renameEntry(TestProgram &t, int index)
{
    t.startOn(t.writeBytes("memo.cdt", kFile));
    FrmMenu &menu = t.program.frmMenu();
    menu.SetIndex(0);
    menu.Menu_ButtonEdit_Click();
    t.program.form5().SelectEntry(index);
    menu.SetIndex(index);
    menu.List_ButtonNameChange_Click();
    return t.program.form6();
}

} // namespace

class TestForm6 : public QObject
{
    Q_OBJECT

private slots:
    void layoutAndTexts();
    void opensOnTheButtonWithItsCaptionSelected();
    void escapeIsCancel();
    void closeBoxIsCancelAndUnloads();
    void closeDuringShutdownLeavesTheOwnerAlone();
    void editorModeChangesOnlyTheList();
    void editorModeCancelGivesTheEditorBack();
};

void TestForm6::layoutAndTexts()
{
    TestProgram t;
    t.start();
    Form6 &rename = t.program.form6();
    QCOMPARE(rename.windowTitle(), QStringLiteral("ﾎﾞﾀﾝ名の変更"));
    QCOMPARE(rename.Command1().text(), QStringLiteral("OK"));
    QCOMPARE(rename.Command2().text(), QStringLiteral("ｷｬﾝｾﾙ"));
    QCOMPARE(rename.findChild<QLabel *>()->text(), QStringLiteral("ﾎﾞﾀﾝ名(&N):"));
    QCOMPARE(rename.size(), QSize(248, 43)); // 3720 x 645 twips
    QVERIFY(!rename.Command1().autoDefault());
    QVERIFY(!rename.Command2().autoDefault());
    // No length limit of its own: a caption as long as a file's line stays whole.
    rename.Present(QString(40000, u'x'));
    QCOMPARE(rename.Text1().text().size(), 40000);
}

void TestForm6::opensOnTheButtonWithItsCaptionSelected()
{
    TestProgram t;
    Form6 &rename = renameButton(t, 1);
    QVERIFY(rename.isVisible());
    QVERIFY(!t.program.form1().isEnabled());
    QCOMPARE(rename.editMode(), 1);
    QCOMPARE(rename.buttonNumber(), 1);
    QCOMPARE(rename.Text1().text(), QStringLiteral("B"));
    QCOMPARE(rename.Text1().selectedText(), QStringLiteral("B"));
    QCOMPARE(rename.pos(), t.program.form1().pos());
}



void TestForm6::escapeIsCancel()
{
    TestProgram t;
    Form6 &rename = renameButton(t, 2);
    QTest::keyClicks(&rename.Text1(), "typed");
    QTest::keyClick(&rename.Text1(), Qt::Key_Escape);
    QVERIFY(!rename.isVisible());
    QVERIFY(t.program.form1().isEnabled());
    QCOMPARE(t.program.form1().Command1(2).text(), QStringLiteral("C"));
    QCOMPARE(t.readBytes("memo.cdt"), kFile);
}

void TestForm6::closeBoxIsCancelAndUnloads()
{
    TestProgram t;
    QPointer<Form6> rename = &renameButton(t, 0);
    QTest::keyClicks(&rename->Text1(), "typed");
    rename->close();
    QVERIFY(t.program.form1().isEnabled());
    QCOMPARE(t.program.form1().Command1(0).text(), QStringLiteral("A"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(rename.isNull());
    QCOMPARE(t.readBytes("memo.cdt"), kFile);
}

void TestForm6::closeDuringShutdownLeavesTheOwnerAlone()
{
    TestProgram t;
    t.start();
    QPointer<Form6> rename = &t.program.form6();
    rename->SetButtonInfo(2, 0);
    rename->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!rename.isNull());
    QVERIFY(t.program.form5().isEnabled());
}

void TestForm6::editorModeChangesOnlyTheList()
{
    TestProgram t;
    Form6 &rename = renameEntry(t, 2);
    Form5 &editor = t.program.form5();
    QVERIFY(!editor.isEnabled());
    QCOMPARE(rename.Text1().selectedText(), QStringLiteral("C"));
    rename.Text1().setText(QStringLiteral("Renamed"));
    QTest::keyClick(&rename.Text1(), Qt::Key_Enter);

    QVERIFY(editor.isEnabled());
    QVERIFY(!rename.isVisible());
    QCOMPARE(editor.List1().item(2)->text(), QStringLiteral("Renamed"));
    QCOMPARE(editor.entries().name(2), QStringLiteral("Renamed"));
    // The main window and so the file take the name only with the editor's OK.
    QCOMPARE(t.program.form1().Command1(2).text(), QStringLiteral("C"));
    QCOMPARE(t.readBytes("memo.cdt"), kFile);
    QVERIFY(!t.program.form1().isEnabled());
    editor.Command1_Click();
    QCOMPARE(t.readBytes("memo.cdt"), QByteArray("#A\r\na\r\n#B\r\nb\r\n#Renamed\r\nc\r\n"));
}

void TestForm6::editorModeCancelGivesTheEditorBack()
{
    TestProgram t;
    QPointer<Form6> rename = &renameEntry(t, 1);
    Form5 &editor = t.program.form5();
    rename->close(); // the close box acts as Cancel here too
    QVERIFY(editor.isEnabled());
    QVERIFY(!t.program.form1().isEnabled()); // the editor is still up
    QCOMPARE(editor.List1().item(1)->text(), QStringLiteral("B"));
}

QTEST_MAIN(TestForm6)
#include "tst_form6.moc"
