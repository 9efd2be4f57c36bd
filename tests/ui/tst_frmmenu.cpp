#include "testprogram.h"

#include "app/form1.h"
#include "app/form1text.h"
#include "dialogs/form4.h"
#include "editing/form5.h"
#include "editing/form6.h"
#include "editing/form5text.h"
#include "editing/frmmenu.h"
#include "editing/frmmenutext.h"
#include "files/form3.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

QString clipText(int entries)
{
    QString text;
    for (int i = 0; i < entries; ++i)
        text += QStringLiteral("#E%1\r\nt%1\r\n").arg(i);
    return text;
}

void startOn(TestProgram &t, const QString &text, const QString &name = QStringLiteral("memo.cdt"))
{
    t.startOn(t.writeShiftJis(name, text));
}

/** Opens the editor on all buttons, as "ﾎﾞﾀﾝ内容の編集(&E)" does. */
Form5 &openEditor(TestProgram &t, int index = 0)
{
    t.program.frmMenu().SetIndex(index);
    t.program.frmMenu().Menu_ButtonEdit_Click();
    return t.program.form5();
}

QStringList captions(const QMenu &menu)
{
    QStringList result;
    for (const QAction *action : menu.actions())
        result.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return result;
}

const QByteArray kUnsetEntryBytes = "#\x96\xa2\x90\xdd\x92\xe8\r\n\r\n";

} // namespace

class TestFrmMenu : public QObject
{
    Q_OBJECT

private slots:
    void menusHoldTheirItemsInOrder();
    void buttonEditOpensTheEditorOnAllButtons();
    void displayOfAnEmptyTextShowsTheNotice();
    void allwaysTwiceRestoresTheState();
    void deleteClipEmptiesTheClipboard();
    void upAndDownSwapWithTheirTexts();
    void insertStopsAtThirty();
    void insertThenCancelLeavesAnUnsetEntry();
    void deleteKeepsTheCountKillLowersIt();
    void newFileCancelledChangesNothing();
    void newFileEmptiesAnExistingFileAndWritesFourteenEntries();
    void newFileAlreadyListedIsListedTwice();
    void newFileWithAShortNameWritesNothing();
    void newFileNameWithoutExtensionLosesFourCharacters();
};

void TestFrmMenu::menusHoldTheirItemsInOrder()
{
    TestProgram t;
    t.start();
    FrmMenu &menu = t.program.frmMenu();
    QCOMPARE(captions(menu.MouseMenu()),
             (QStringList{"ﾎﾞﾀﾝ(&B)", "-", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ(&C)", "-", "常に最前面に表示(&T)",
                          "ｺﾝﾄﾛｰﾙﾎﾞﾀﾝを隠す(&H)", "-", "ｸﾘｯﾌﾟﾌｧｲﾙ(&F)", "-", "ﾌﾟﾛﾊﾟﾃｨ(&A)", "-",
                          "終了(&X)"}));
    QCOMPARE(menu.MouseMenu().title(), QStringLiteral("ﾒﾆｭｰ（&1)"));
    QCOMPARE(captions(*menu.Menu_Button().menu()),
             (QStringList{"ﾎﾞﾀﾝ内容表示(&D)", "ﾎﾞﾀﾝ名変更(&C)", "ﾎﾞﾀﾝ内容の編集(&E)"}));
    QCOMPARE(captions(*menu.Menu_ClipBoard().menu()),
             (QStringList{"内容確認(&K)", "ﾃﾞｰﾀの削除&D)"}));
    QCOMPARE(captions(*menu.Menu_File().menu()),
             (QStringList{"新規作成(&N)", "編集(&E)", "更新(&U)", "再読込(&R)"}));
    QCOMPARE(captions(menu.MouseMenu2()),
             (QStringList{"上へ(&U)", "下へ(&D)", "-", "ﾎﾞﾀﾝ名変更(&C)", "-", "挿入(&I)", "-",
                          "ﾃﾞｰﾀ削除(&D)", "ﾎﾞﾀﾝ削除(&K)"}));
    QCOMPARE(menu.MouseMenu2().title(), QStringLiteral("ﾒﾆｭｰ(&2)"));
    QVERIFY(menu.Menu_Allways().isCheckable());
    QVERIFY(menu.Menu_ControlButton().isCheckable());
    for (QAction *item : menu.MouseMenu2().actions())
        QVERIFY(!item->isCheckable());
}

void TestFrmMenu::buttonEditOpensTheEditorOnAllButtons()
{
    TestProgram t;
    startOn(t, clipText(14));
    Form5 &editor = openEditor(t, 3);
    QCOMPARE(editor.List1().count(), 14);
    QCOMPARE(editor.List1().currentRow(), 3);
    QCOMPARE(editor.Text1().toPlainText(), QStringLiteral("t3"));
    for (int slot = 14; slot <= 30; ++slot)
        QCOMPARE(editor.GetTextBuffer(slot), QString());
    QVERIFY(!t.program.form1().isEnabled());
    QCOMPARE(editor.pos(), t.program.form1().pos());
}

void TestFrmMenu::displayOfAnEmptyTextShowsTheNotice()
{
    TestProgram t;
    startOn(t, QStringLiteral("#empty\r\n\r\n"));
    t.program.frmMenu().SetIndex(0);
    t.program.frmMenu().Menu_Display_Click();
    QCOMPARE(t.messages(), QStringList{frmmenutext::noContent});
    QCOMPARE(t.boxes.shown.last().icon, MessageBoxes::Icon::Information);
    QVERIFY(t.program.form1().isEnabled());
}

void TestFrmMenu::allwaysTwiceRestoresTheState()
{
    TestProgram t;
    t.start();
    FrmMenu &menu = t.program.frmMenu();
    QVERIFY(!menu.Menu_Allways().isChecked());
    menu.Menu_Allways().trigger();
    QVERIFY(menu.Menu_Allways().isChecked());
    QCOMPARE(t.program.form1().GetWinZ(), 1);
    menu.Menu_Allways().trigger();
    QVERIFY(!menu.Menu_Allways().isChecked());
    QCOMPARE(t.program.form1().GetWinZ(), 0);
    QCOMPARE(menu.Menu_Allways().text(), QStringLiteral("常に最前面に表示(&T)"));
}

void TestFrmMenu::deleteClipEmptiesTheClipboard()
{
    TestProgram t;
    t.start();
    t.clipboard.setText(QStringLiteral("held"));
    t.program.frmMenu().Menu_Delete_Clip().trigger();
    QVERIFY(t.clipboard.hasText());
    QCOMPARE(t.clipboard.text(), QString());
}

void TestFrmMenu::upAndDownSwapWithTheirTexts()
{
    TestProgram t;
    startOn(t, clipText(5));
    Form5 &editor = openEditor(t, 3);
    FrmMenu &menu = t.program.frmMenu();
    menu.SetIndex(3);
    menu.List_Up().trigger();
    QCOMPARE(itemTexts(editor.List1()), (QStringList{"E0", "E1", "E3", "E2", "E4"}));
    QCOMPARE(editor.GetTextBuffer(2), QStringLiteral("t3"));
    QCOMPARE(editor.GetTextBuffer(3), QStringLiteral("t2"));
    QCOMPARE(editor.List1().currentRow(), 2);
    QCOMPARE(editor.Text1().toPlainText(), QStringLiteral("t3"));

    menu.SetIndex(0);
    menu.List_Down().trigger();
    QCOMPARE(itemTexts(editor.List1()), (QStringList{"E1", "E0", "E3", "E2", "E4"}));
    QCOMPARE(editor.GetTextBuffer(1), QStringLiteral("t0"));
    QCOMPARE(editor.List1().currentRow(), 1);
    // The main window keeps its order until OK.
    QCOMPARE(t.program.form1().Command1(0).text(), QStringLiteral("E0"));
}

void TestFrmMenu::insertStopsAtThirty()
{
    TestProgram t;
    startOn(t, clipText(29));
    Form5 &editor = openEditor(t, 0);
    FrmMenu &menu = t.program.frmMenu();
    menu.SetIndex(0);
    menu.List_Insert().trigger();

    QCOMPARE(editor.List1().count(), 30);
    QCOMPARE(editor.List1().item(0)->text(), form1text::unset);
    QCOMPARE(editor.GetTextBuffer(0), QString());
    for (int i = 1; i < 30; ++i) {
        QCOMPARE(editor.List1().item(i)->text(), QStringLiteral("E%1").arg(i - 1));
        QCOMPARE(editor.GetTextBuffer(i), QStringLiteral("t%1").arg(i - 1));
    }
    QCOMPARE(editor.GetTextBuffer(30), QString());
    Form6 &rename = t.program.form6();
    QVERIFY(rename.isVisible());
    QCOMPARE(rename.editMode(), 2);
    QCOMPARE(rename.buttonNumber(), 0);
    QCOMPARE(rename.Text1().selectedText(), form1text::unset);
    rename.Text1().setText(QStringLiteral("First"));
    rename.Command1_Click();
    QCOMPARE(editor.List1().item(0)->text(), QStringLiteral("First"));

    menu.SetIndex(5);
    menu.List_Insert().trigger();
    QCOMPARE(t.messages(), QStringList{QStringLiteral("ﾎﾞﾀﾝを30個以上登録することは出来ません")});
    QCOMPARE(t.boxes.shown.last().icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(editor.List1().count(), 30);
    QVERIFY(!rename.isVisible());
}

void TestFrmMenu::insertThenCancelLeavesAnUnsetEntry()
{
    TestProgram t;
    startOn(t, clipText(3));
    Form5 &editor = openEditor(t, 1);
    FrmMenu &menu = t.program.frmMenu();
    menu.SetIndex(1);
    menu.List_Insert().trigger();
    QCOMPARE(editor.List1().currentRow(), 1);
    QCOMPARE(editor.Text1().toPlainText(), QString());
    t.program.form6().Command2_Click();
    QVERIFY(editor.isEnabled());
    QCOMPARE(itemTexts(editor.List1()), (QStringList{"E0", form1text::unset, "E1", "E2"}));
    QCOMPARE(editor.GetTextBuffer(1), QString());
    QCOMPARE(editor.GetTextBuffer(2), QStringLiteral("t1"));
}

void TestFrmMenu::deleteKeepsTheCountKillLowersIt()
{
    TestProgram t;
    startOn(t, clipText(3));
    Form5 &editor = openEditor(t, 1);
    FrmMenu &menu = t.program.frmMenu();
    menu.SetIndex(1);
    menu.List_Delete().trigger();
    QCOMPARE(itemTexts(editor.List1()), (QStringList{"E0", form1text::unset, "E2"}));
    QCOMPARE(editor.GetTextBuffer(1), QString());
    QCOMPARE(editor.Text1().toPlainText(), QString());

    menu.SetIndex(0);
    editor.SelectEntry(0);
    menu.List_Kill().trigger();
    QCOMPARE(itemTexts(editor.List1()), (QStringList{form1text::unset, "E2"}));
    QCOMPARE(editor.GetTextBuffer(1), QStringLiteral("t2"));
    QCOMPARE(editor.GetTextBuffer(2), QString());
    QCOMPARE(editor.List1().currentRow(), 0);
}

void TestFrmMenu::newFileCancelledChangesNothing()
{
    TestProgram t;
    startOn(t, clipText(3));
    t.program.frmMenu().Menu_NewFile().trigger();
    QCOMPARE(t.fileDialogs.saveCalls, 1);
    QCOMPARE(t.program.form3().List1().count(), 1);
    QCOMPARE(t.program.form1().GetButtonNum(), 3);
    QCOMPARE(t.program.form1().windowTitle(), QStringLiteral("memo"));
    QVERIFY(t.messages().isEmpty());
}

void TestFrmMenu::newFileEmptiesAnExistingFileAndWritesFourteenEntries()
{
    TestProgram t;
    startOn(t, clipText(3));
    const QString path = t.writeBytes("other.cdt", "#old\r\nkept?\r\n");
    // Another program's file is emptied only when the user says so.
    t.boxes.answers = {MessageBoxes::Answer::Cancel};
    t.fileDialogs.saveAnswers = {path, path};
    t.program.frmMenu().Menu_NewFile_Click();
    QCOMPARE(t.readBytes("other.cdt"), QByteArray("#old\r\nkept?\r\n"));
    QCOMPARE(t.program.form3().List1().count(), 1);
    t.program.frmMenu().Menu_NewFile_Click();

    Form1 &main = t.program.form1();
    Form3 &files = t.program.form3();
    QCOMPARE(files.List1().count(), 2);
    QCOMPARE(files.List1().item(1)->text(), QStringLiteral("other.cdt"));
    QCOMPARE(files.List2().at(1), path);
    QCOMPARE(files.List3().at(1), path);
    QCOMPARE(files.List1().currentRow(), 1);
    QCOMPARE(main.GetDataFileNum(), 1);
    QCOMPARE(main.GetDataFileName(), path);
    QCOMPARE(main.GetButtonNum(), 14);
    for (int i = 0; i < 14; ++i)
        QCOMPARE(main.Command1(i).text(), form1text::unset);
    QCOMPARE(main.windowTitle(), QStringLiteral("other"));
    QCOMPARE(t.readBytes("other.cdt"), kUnsetEntryBytes.repeated(14));
    const QString question = form5text::overwriteQuestion + "\r\nﾌｧｲﾙ:" + path;
    QCOMPARE(t.messages(), QStringList(2, question));
    QCOMPARE(t.boxes.shown.first().buttons, MessageBoxes::Buttons::OkCancel);
}

void TestFrmMenu::newFileAlreadyListedIsListedTwice()
{
    TestProgram t;
    startOn(t, clipText(3));
    t.fileDialogs.saveAnswers = {t.path("memo.cdt")};
    t.program.frmMenu().Menu_NewFile_Click();
    Form3 &files = t.program.form3();
    QCOMPARE(files.List2(), (QStringList{t.path("memo.cdt"), t.path("memo.cdt")}));
    QCOMPARE(files.List1().currentRow(), 1);
    QCOMPARE(t.readBytes("memo.cdt"), kUnsetEntryBytes.repeated(14));
}

void TestFrmMenu::newFileWithAShortNameWritesNothing()
{
    TestProgram t;
    startOn(t, clipText(3));
    const QString path = t.writeBytes("ab", "#old\r\n");
    t.fileDialogs.saveAnswers = {path};
    t.program.frmMenu().Menu_NewFile_Click();

    Form1 &main = t.program.form1();
    QCOMPARE(main.GetDataFileName(), path);
    QCOMPARE(main.GetDataFileNum(), 1);
    QCOMPARE(main.GetButtonNum(), 14);
    QCOMPARE(main.Command1(0).text(), form1text::unset);
    QCOMPARE(main.windowTitle(), QStringLiteral("memo"));
    QCOMPARE(t.readBytes("ab"), QByteArray());
    QCOMPARE(t.messages().size(), 1); // whether to empty what was there
}

void TestFrmMenu::newFileNameWithoutExtensionLosesFourCharacters()
{
    TestProgram t;
    startOn(t, clipText(3));
    t.fileDialogs.saveAnswers = {t.path("notebook")};
    t.program.frmMenu().Menu_NewFile_Click();
    QCOMPARE(t.program.form1().windowTitle(), QStringLiteral("note"));
    QCOMPARE(t.readBytes("notebook"), kUnsetEntryBytes.repeated(14));
}

QTEST_MAIN(TestFrmMenu)
#include "tst_frmmenu.moc"
