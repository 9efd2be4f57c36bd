#include "testprogram.h"

#include "app/form1.h"
#include "app/form1text.h"
#include "editing/form5.h"
#include "editing/form5text.h"
#include "editing/form6.h"
#include "editing/frmmenu.h"
#include "files/form3.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

/** Entries "E0".."E<n-1>", entry i with the two-line text "t<i>" / "u<i>". */
QString clipText(int entries)
{
    QString text;
    for (int i = 0; i < entries; ++i)
        text += QStringLiteral("#E%1\r\nt%1\r\nu%1\r\n").arg(i);
    return text;
}

/** Starts the program on `name` holding `text`, and opens the editor on entry `index`. */
Form5 &openEditor(TestProgram &t, const QString &text, int index = 0,
                  const QString &name = QStringLiteral("memo.cdt"))
{
    t.startOn(t.writeShiftJis(name, text));
    t.program.frmMenu().SetIndex(index);
    t.program.frmMenu().Menu_ButtonEdit_Click();
    return t.program.form5();
}

QPoint rowPoint(const Form5 &editor, int row)
{
    return editor.List1().visualItemRect(editor.List1().item(row)).center();
}

} // namespace

class TestForm5 : public QObject
{
    Q_OBJECT

private slots:
    void layoutAndTexts();
    void openingCopiesTheBarAndSelectsTheButton();
    void typingUpdatesTheSelectedSlot();
    void okWithoutEditsRewritesTheSameBytes();
    void okOnEmptyListGivesFourteenUnsetEntries();
    void enterInTheListIsOk();
    void closeBoxEnablesMainAndUnloads();
    void newButtonStopsAtThirty();
    void deleteKeyRemoves_data();
    void deleteKeyRemoves();
    void deletingTheOnlyEntryEmptiesEverything();
    void rightClickActsOnTheRowUnderThePointer();
    void doubleClickRenamesTheSelectedEntry();
    void writeAsksForAFileWhenNoneIsInUse();
    void writeRefusesTextShiftJisCannotHold();
    void utf8FileStaysUtf8UntilAnotherIsLoaded();
    void currentRowWithoutSelectionIsNoFileInUse();
    void writeFailureIsShownNotHidden();
    void writeSetsTheCaption_data();
    void writeSetsTheCaption();
};

void TestForm5::layoutAndTexts()
{
    TestProgram t;
    t.start();
    Form5 &editor = t.program.form5();
    QCOMPARE(editor.windowTitle(), QStringLiteral("ﾎﾞﾀﾝ内容編集"));
    QCOMPARE(editor.Command3().text(), QStringLiteral("新規ﾎﾞﾀﾝ(&N)"));
    QCOMPARE(editor.Command1().text(), QStringLiteral("OK"));
    QCOMPARE(editor.Command2().text(), QStringLiteral("ｷｬﾝｾﾙ"));
    const QList<QLabel *> labels = editor.findChildren<QLabel *>();
    QCOMPARE(labels.size(), 2);
    QCOMPARE(labels.at(0)->text(), QStringLiteral("ﾎﾞﾀﾝ名(&B):"));
    QCOMPARE(labels.at(0)->buddy(), &editor.List1());
    QCOMPARE(labels.at(1)->text(), QStringLiteral("ﾎﾞﾀﾝ内容(&I):"));
    QCOMPARE(labels.at(1)->buddy(), &editor.Text1());
    QCOMPARE(editor.size(), QSize(603, 411)); // 9045 x 6165 twips
    QCOMPARE(editor.Text1().lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(editor.Text1().verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(editor.Text1().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestForm5::openingCopiesTheBarAndSelectsTheButton()
{
    TestProgram t;
    Form5 &editor = openEditor(t, clipText(3), 1);
    QVERIFY(editor.isVisible());
    QVERIFY(!t.program.form1().isEnabled());
    QCOMPARE(itemTexts(editor.List1()), (QStringList{"E0", "E1", "E2"}));
    QCOMPARE(editor.List1().currentRow(), 1);
    QCOMPARE(editor.Text1().toPlainText(), QStringLiteral("t1\nu1"));
    QCOMPARE(editor.GetTextBuffer(1), QStringLiteral("t1\r\nu1"));
    for (int slot = 3; slot <= 30; ++slot)
        QCOMPARE(editor.GetTextBuffer(slot), QString());
}

void TestForm5::typingUpdatesTheSelectedSlot()
{
    TestProgram t;
    Form5 &editor = openEditor(t, clipText(3), 2);
    editor.Text1().selectAll();
    QTest::keyClicks(&editor.Text1(), "ab");
    QTest::keyClick(&editor.Text1(), Qt::Key_Return);
    QTest::keyClicks(&editor.Text1(), "c");
    QCOMPARE(editor.GetTextBuffer(2), QStringLiteral("ab\r\nc"));
    // Selecting another entry shows its own text and leaves the edited one alone.
    editor.List1().setCurrentRow(0);
    QCOMPARE(editor.Text1().toPlainText(), QStringLiteral("t0\nu0"));
    QCOMPARE(editor.GetTextBuffer(2), QStringLiteral("ab\r\nc"));
    // Nothing reaches the main window before OK.
    QCOMPARE(t.program.form1().GetClipData(2), QStringLiteral("t2\r\nu2"));
}


void TestForm5::okWithoutEditsRewritesTheSameBytes()
{
    TestProgram t;
    // Texts with inner, trailing and lone-LF line breaks and half-width katakana.
    const QString text = QStringLiteral("#ｶﾅ\r\na\r\n\r\nb\r\n\r\n#x\ny\r\nz\n\r\n#\r\n\r\n");
    Form5 &editor = openEditor(t, text, 1);
    const QByteArray before = t.readBytes("memo.cdt");
    editor.List1().setCurrentRow(0);
    editor.List1().setCurrentRow(2);
    editor.Command1_Click();
    QCOMPARE(t.readBytes("memo.cdt"), before);
}

void TestForm5::okOnEmptyListGivesFourteenUnsetEntries()
{
    TestProgram t;
    Form5 &editor = openEditor(t, clipText(2), 0);
    QTest::keyClick(&editor.List1(), Qt::Key_Delete);
    QTest::keyClick(&editor.List1(), Qt::Key_Delete);
    QCOMPARE(editor.List1().count(), 0);
    editor.Command1_Click();

    Form1 &main = t.program.form1();
    QCOMPARE(main.GetButtonNum(), 14);
    for (int i = 0; i < 14; ++i) {
        QCOMPARE(main.Command1(i).text(), form1text::unset);
        QCOMPARE(main.GetClipData(i), QString());
    }
    QCOMPARE(t.readBytes("memo.cdt"), QByteArray("#\x96\xa2\x90\xdd\x92\xe8\r\n\r\n").repeated(14));
}

void TestForm5::enterInTheListIsOk()
{
    TestProgram t;
    Form5 &editor = openEditor(t, clipText(2), 0);
    editor.SetTextBuffer(0, QStringLiteral("via enter"));
    QTest::keyClick(&editor.List1(), Qt::Key_Return);
    QVERIFY(!editor.isVisible());
    QCOMPARE(t.program.form1().GetClipData(0), QStringLiteral("via enter"));
    QVERIFY(t.readBytes("memo.cdt").contains("via enter"));
}


void TestForm5::closeBoxEnablesMainAndUnloads()
{
    TestProgram t;
    QPointer<Form5> editor = &openEditor(t, clipText(2), 0);
    editor->SetTextBuffer(0, QStringLiteral("dropped"));
    editor->close();
    QVERIFY(t.program.form1().isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(editor.isNull());
    QCOMPARE(t.program.form1().GetClipData(0), QStringLiteral("t0\r\nu0"));

    // Created again, empty, on its next use.
    QCOMPARE(t.program.form5().List1().count(), 0);
    t.program.frmMenu().Menu_ButtonEdit_Click();
    QCOMPARE(t.program.form5().GetTextBuffer(0), QStringLiteral("t0\r\nu0"));
}

void TestForm5::newButtonStopsAtThirty()
{
    TestProgram t;
    Form5 &editor = openEditor(t, clipText(29), 0);
    QTest::mouseClick(&editor.Command3(), Qt::LeftButton);

    Form6 &rename = t.program.form6();
    QCOMPARE(editor.List1().count(), 30);
    QCOMPARE(editor.List1().currentRow(), 29);
    QCOMPARE(editor.Text1().toPlainText(), QString());
    QVERIFY(!editor.isEnabled());
    QVERIFY(rename.isVisible());
    QCOMPARE(rename.editMode(), 2);
    QCOMPARE(rename.buttonNumber(), 29);
    QCOMPARE(rename.Text1().selectedText(), form1text::unset);
    rename.Command2_Click();
    QVERIFY(editor.isEnabled());

    editor.Command3_Click();
    QCOMPARE(t.messages(), QStringList{form5text::tooManyButtons});
    QCOMPARE(t.boxes.shown.last().icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(t.boxes.shown.last().title, QStringLiteral("Snipdeck"));
    QCOMPARE(editor.List1().count(), 30);
    QVERIFY(editor.isEnabled());
}

void TestForm5::deleteKeyRemoves_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("selected");
    QTest::newRow("first") << 0 << QStringList{"E1", "E2", "E3"} << 0;
    QTest::newRow("middle") << 2 << QStringList{"E0", "E1", "E3"} << 2;
    QTest::newRow("last selects the one before") << 3 << QStringList{"E0", "E1", "E2"} << 2;
}

void TestForm5::deleteKeyRemoves()
{
    QFETCH(int, index);
    QFETCH(QStringList, names);
    QFETCH(int, selected);
    TestProgram t;
    Form5 &editor = openEditor(t, clipText(4), index);
    QTest::keyClick(&editor.List1(), Qt::Key_Delete);
    QCOMPARE(itemTexts(editor.List1()), names);
    QCOMPARE(editor.List1().currentRow(), selected);
    // The text shown is the selected entry's own, after the shift.
    const QString number = names.at(selected).mid(1);
    QCOMPARE(editor.Text1().toPlainText(), QStringLiteral("t%1\nu%1").arg(number));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(editor.GetTextBuffer(i), QStringLiteral("t%1\r\nu%1").arg(names.at(i).mid(1)));
    QCOMPARE(editor.GetTextBuffer(3), QString());
}

void TestForm5::deletingTheOnlyEntryEmptiesEverything()
{
    TestProgram t;
    Form5 &editor = openEditor(t, clipText(1), 0);
    QTest::keyClick(&editor.List1(), Qt::Key_Delete);
    QCOMPARE(editor.List1().count(), 0);
    QCOMPARE(editor.List1().currentRow(), -1);
    QCOMPARE(editor.Text1().toPlainText(), QString());
    // Typing with nothing selected stores nowhere.
    QTest::keyClicks(&editor.Text1(), "x");
    for (int slot = 0; slot <= 30; ++slot)
        QCOMPARE(editor.GetTextBuffer(slot), QString());
    QTest::keyClick(&editor.List1(), Qt::Key_Delete); // nothing left to remove
    QCOMPARE(editor.List1().count(), 0);
}

void TestForm5::rightClickActsOnTheRowUnderThePointer()
{
    TestProgram t;
    Form5 &editor = openEditor(t, clipText(4), 2);
    FrmMenu &menu = t.program.frmMenu();
    QWidget *viewport = editor.List1().viewport();

    QTest::mousePress(viewport, Qt::RightButton, {}, rowPoint(editor, 0));
    QVERIFY(menu.MouseMenu2().isVisible());
    QCOMPARE(menu.targetIndex(), 0);
    QCOMPARE(editor.List1().currentRow(), 0);
    QCOMPARE(editor.Text1().toPlainText(), QStringLiteral("t0\nu0"));
    QVERIFY(!menu.List_Up().isEnabled());
    QVERIFY(menu.List_Down().isEnabled());
    menu.MouseMenu2().hide();

    QTest::mousePress(viewport, Qt::RightButton, {}, rowPoint(editor, 3));
    QCOMPARE(menu.targetIndex(), 3);
    QVERIFY(menu.List_Up().isEnabled());
    QVERIFY(!menu.List_Down().isEnabled());
    menu.MouseMenu2().hide();

    // Below the last entry: no menu, nothing changes.
    const QRect last = editor.List1().visualItemRect(editor.List1().item(3));
    QTest::mousePress(viewport, Qt::RightButton, {}, QPoint(last.center().x(), last.bottom() + 20));
    QVERIFY(!menu.MouseMenu2().isVisible());
    QCOMPARE(menu.targetIndex(), 3);
    QCOMPARE(editor.List1().currentRow(), 3);

    // A left press is the list's own business.
    QTest::mousePress(viewport, Qt::LeftButton, {}, rowPoint(editor, 1));
    QVERIFY(!menu.MouseMenu2().isVisible());
    QCOMPARE(editor.List1().currentRow(), 1);
}

void TestForm5::doubleClickRenamesTheSelectedEntry()
{
    TestProgram t;
    Form5 &editor = openEditor(t, clipText(3), 0);
    Form6 &rename = t.program.form6();

    editor.SelectEntry(-1);
    editor.List1_DblClick();
    QVERIFY(!rename.isVisible());
    QVERIFY(editor.isEnabled());

    // A double click arrives as a click and then the double-click event.
    QTest::mouseClick(editor.List1().viewport(), Qt::LeftButton, {}, rowPoint(editor, 1));
    QTest::mouseDClick(editor.List1().viewport(), Qt::LeftButton, {}, rowPoint(editor, 1));
    QVERIFY(rename.isVisible());
    QVERIFY(!editor.isEnabled());
    QCOMPARE(rename.editMode(), 2);
    QCOMPARE(rename.buttonNumber(), 1);
    QCOMPARE(rename.Text1().text(), QStringLiteral("E1"));
    QCOMPARE(rename.Text1().selectedText(), QStringLiteral("E1"));
    QCOMPARE(rename.pos(), editor.pos());
}

void TestForm5::writeAsksForAFileWhenNoneIsInUse()
{
    TestProgram t;
    t.start();
    Form1 &main = t.program.form1();
    Form3 &files = t.program.form3();
    t.boxes.shown.clear();
    main.Command1(0).setText(QStringLiteral("A"));
    main.SetClipData(0, QStringLiteral("a"));
    Form5 &editor = t.program.form5();

    // Cancel to the question: nothing is written, no dialog.
    t.boxes.answers = {MessageBoxes::Answer::Cancel};
    QVERIFY(!editor.ClipFileWrite());
    QCOMPARE(t.boxes.shown.size(), 1);
    QCOMPARE(t.boxes.shown.at(0).text, QStringLiteral("ｸﾘｯﾌﾟﾌｧｲﾙを新規作成しますか？"));
    QCOMPARE(t.boxes.shown.at(0).title, QStringLiteral("ｸﾘｯﾌﾟﾌｧｲﾙがありません"));
    QCOMPARE(t.boxes.shown.at(0).icon, MessageBoxes::Icon::Question);
    QCOMPARE(t.boxes.shown.at(0).buttons, MessageBoxes::Buttons::OkCancel);
    QCOMPARE(t.fileDialogs.saveCalls, 0);

    // OK, then the save dialog cancelled: quiet stop.
    QVERIFY(!editor.ClipFileWrite());
    QCOMPARE(t.fileDialogs.saveCalls, 1);
    QCOMPARE(files.List1().count(), 0);
    QCOMPARE(main.GetDataFileName(), QString());

    // OK and a path: the file joins the list, becomes current and is written.
    const QString path = t.path("new one.cdt");
    t.fileDialogs.saveAnswers = {path};
    QVERIFY(editor.ClipFileWrite());
    QCOMPARE(files.List1().count(), 1);
    QCOMPARE(files.List1().item(0)->text(), QStringLiteral("new one.cdt"));
    QCOMPARE(files.List2(), QStringList{path});
    QCOMPARE(files.List3(), QStringList{path});
    QCOMPARE(files.List1().currentRow(), 0);
    QCOMPARE(main.GetDataFileName(), path);
    QCOMPARE(main.GetDataFileNum(), 0);
    QCOMPARE(main.windowTitle(), QStringLiteral("new one"));
    QVERIFY(t.readBytes("new one.cdt").startsWith("#A\r\na\r\n"));
    QCOMPARE(t.boxes.shown.size(), 3);
}

void TestForm5::writeRefusesTextShiftJisCannotHold()
{
    TestProgram t;
    t.startOn(t.writeShiftJis("memo.cdt", clipText(2)));
    const QByteArray before = t.readBytes("memo.cdt");
    Form1 &main = t.program.form1();
    main.setWindowTitle(QStringLiteral("before"));
    main.Command1(1).setText(QStringLiteral("smile"));
    main.SetClipData(1, QStringLiteral("\U0001F600"));

    QVERIFY(!t.program.form5().ClipFileWrite());
    QCOMPARE(t.messages(), QStringList{QStringLiteral("ｼﾌﾄJISで保存できない文字があります\r\nﾎﾞﾀﾝ:smile")});
    QCOMPARE(t.boxes.shown.last().icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(t.readBytes("memo.cdt"), before);
    QCOMPARE(main.windowTitle(), QStringLiteral("before"));
}

void TestForm5::utf8FileStaysUtf8UntilAnotherIsLoaded()
{
    TestProgram t;
    const QByteArray bom("\xEF\xBB\xBF");
    const QString utf8 = t.writeBytes("u.cdt", bom + "#挨拶\r\nこんにちは\r\n");
    t.startOn(utf8);
    Form1 &main = t.program.form1();
    QCOMPARE(main.Command1(0).text(), QStringLiteral("挨拶"));
    main.SetClipData(0, QStringLiteral("café 😀"));
    QVERIFY(t.program.form5().ClipFileWrite());
    QCOMPARE(t.readBytes("u.cdt"), bom + "#挨拶\r\ncafé 😀\r\n");
    QVERIFY(t.messages().isEmpty());

    // Another file in the same place is read, and written, as what it is; a look-alike
    // goes into Shift-JIS as the code page's character, without a word.
    t.writeShiftJis("u.cdt", QStringLiteral("#挨拶\r\nx\r\n"));
    main.ReadFile(utf8);
    main.SetClipData(0, QStringLiteral("〜"));
    QVERIFY(t.program.form5().ClipFileWrite());
    QCOMPARE(t.readBytes("u.cdt"), QByteArray("#\x88\xa5\x8e\x41\r\n\x81\x60\r\n"));
    QVERIFY(t.messages().isEmpty());
}

void TestForm5::currentRowWithoutSelectionIsNoFileInUse()
{
    TestProgram t;
    t.start();
    t.boxes.shown.clear();
    const QString other = t.writeBytes("other.cdt", "#keep\r\n");
    Form3 &files = t.program.form3();
    files.appendEntry(QStringLiteral("other.cdt"), other);
    files.List1().setCurrentRow(0, QItemSelectionModel::NoUpdate);
    t.boxes.answers = {MessageBoxes::Answer::Cancel};
    QVERIFY(!t.program.form5().ClipFileWrite());
    QCOMPARE(t.messages(), QStringList{QStringLiteral("ｸﾘｯﾌﾟﾌｧｲﾙを新規作成しますか？")});
    QCOMPARE(t.readBytes("other.cdt"), QByteArray("#keep\r\n"));
}

void TestForm5::writeFailureIsShownNotHidden()
{
    TestProgram t;
    t.start();
    t.boxes.shown.clear();
    const QString path = t.path("no such folder/x.cdt");
    t.program.form3().appendEntry(QStringLiteral("x.cdt"), path);
    t.program.form3().List1().setCurrentRow(0);
    t.program.form1().setWindowTitle(QStringLiteral("before"));

    QVERIFY(!t.program.form5().ClipFileWrite());
    QCOMPARE(t.messages(), QStringList{QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙを保存できません\r\nﾌｧｲﾙ:") + path});
    QCOMPARE(t.boxes.shown.last().icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(t.program.form1().windowTitle(), QStringLiteral("before"));
}

void TestForm5::writeSetsTheCaption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("clip data file") << "memo.cdt" << "memo";
    QTest::newRow("other extension") << "list.txt" << "list";
    QTest::newRow("no extension") << "abcdefg" << "abc";
    QTest::newRow("four characters") << "abcd" << "";
    QTest::newRow("shorter") << "ab" << "";
}

void TestForm5::writeSetsTheCaption()
{
    QFETCH(QString, name);
    TestProgram t;
    t.start();
    t.program.form3().appendEntry(name, t.path(name));
    t.program.form3().List1().setCurrentRow(0);
    QVERIFY(t.program.form5().ClipFileWrite());
    QTEST(t.program.form1().windowTitle(), "caption");
}

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"
