// The windows' wiring: each window shows the session and hands its commands to it. What
// the session decides is tested in tests/core; long command sequences in
// tst_commandsequences.
#include "testprogram.h"

#include "app/form1.h"
#include "app/form1text.h"
#include "dialogs/form2.h"
#include "dialogs/form4.h"
#include "dialogs/frmabout.h"
#include "dialogs/updown.h"
#include "editing/form5.h"
#include "editing/form6.h"
#include "editing/form5text.h"
#include "editing/frmmenu.h"
#include "files/form3.h"
#include "platform/sjiscodec.h"
#include "version.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTest>

namespace {

/** A window's title, then the text of each label, button and frame as it was built. */
QString textsOf(const QWidget &window)
{
    QStringList texts{window.windowTitle()};
    for (const QWidget *child : window.findChildren<QWidget *>()) {
        if (const auto *label = qobject_cast<const QLabel *>(child))
            texts << label->text();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(child))
            texts << button->text();
        else if (const auto *frame = qobject_cast<const QGroupBox *>(child))
            texts << frame->title();
    }
    texts.removeAll(QString());
    return texts.join(u'|');
}

/** A menu's title and items, "-" for a separator, a submenu's items in brackets. */
QString textsOf(const QMenu &menu)
{
    QStringList texts{menu.title()};
    for (const QAction *item : menu.actions()) {
        if (item->isSeparator())
            texts << QStringLiteral("-");
        else if (item->menu())
            texts << "(" + textsOf(*item->menu()) + ")";
        else
            texts << item->text();
    }
    return texts.join(u'|');
}

/** Where each control of a window sits, in pixels: its own controls and those in its frames,
    in the order they were made. */
QString placesOf(const QWidget &window)
{
    QStringList places;
    for (const QWidget *control : window.findChildren<QWidget *>()) {
        const QWidget *parent = control->parentWidget();
        if (control->isWindow() || (parent != &window && !qobject_cast<const QGroupBox *>(parent)))
            continue;
        const QRect r = control->geometry();
        places << QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    return places.join(u' ');
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void places_data();
    void places();
    void startUpAndShutdownKeepTheSettings();
    void keysAndMenuReachTheirCommands();
    void renameAndEditorWriteTheFile();
    void newFileWritesFourteenUnsetEntries();
    void readFileListAddsDeletesAndLoads();
    void propertiesApplyAndHandTheBarBack();
    void versionBoxMailsAndHandsThePropertiesBack();
};

void TestWindows::texts_data()
{
    TestProgram t;
    t.start();
    Form1 &main = t.program.form1();
    QStringList controls;
    for (int j = 0; j < 5; ++j)
        controls << main.Command2(j).text() << main.Command2(j).toolTip();

    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");
    QTest::newRow("control buttons")
            << controls.join(u'|')
            << "内容確認(&C)|ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を確認します|編集(&E)|現在読み込まれているﾌｧｲﾙの編集を行います|"
               "再読込(&R)|ｸﾘｯﾌﾟﾌｧｲﾙの追加、削除、再読込を行います|ﾌﾟﾛﾊﾟﾃｨ(&P)|ﾌﾟﾛﾊﾟﾃｨを表示します|"
               "終了(&X)|ﾌﾟﾛｸﾞﾗﾑを終了します";
    QTest::newRow("menu") << textsOf(t.program.frmMenu().MouseMenu())
                          << "ﾒﾆｭｰ（&1)|(ﾎﾞﾀﾝ(&B)|ﾎﾞﾀﾝ内容表示(&D)|ﾎﾞﾀﾝ名変更(&C)|ﾎﾞﾀﾝ内容の編集(&E))|-|"
                             "(ｸﾘｯﾌﾟﾎﾞｰﾄﾞ(&C)|内容確認(&K)|ﾃﾞｰﾀの削除&D))|-|常に最前面に表示(&T)|"
                             "ｺﾝﾄﾛｰﾙﾎﾞﾀﾝを隠す(&H)|-|(ｸﾘｯﾌﾟﾌｧｲﾙ(&F)|新規作成(&N)|編集(&E)|更新(&U)|"
                             "再読込(&R))|-|ﾌﾟﾛﾊﾟﾃｨ(&A)|-|終了(&X)";
    QTest::newRow("editor list menu")
            << textsOf(t.program.frmMenu().MouseMenu2())
            << "ﾒﾆｭｰ(&2)|上へ(&U)|下へ(&D)|-|ﾎﾞﾀﾝ名変更(&C)|-|挿入(&I)|-|ﾃﾞｰﾀ削除(&D)|ﾎﾞﾀﾝ削除(&K)";
    QTest::newRow("read files") << textsOf(t.program.form3())
                                << "読込ﾌｧｲﾙ選択|OK|ｷｬﾝｾﾙ|追加(&A)|削除(&D)";
    QTest::newRow("properties")
            << textsOf(t.program.form4())
            << "Snipdeckのﾌﾟﾛﾊﾟﾃｨ|設定(&S)|常に手前に表示(&T)|ｺﾝﾄﾛｰﾙﾎﾞﾀﾝを隠す(&H)|"
               "ﾒｲﾝｳｨﾝﾄﾞｳ幅(&W)|ﾎﾞﾀﾝの高さ(&H)|ﾎﾞﾀﾝの数(&N)|ﾊﾞｰｼﾞｮﾝ情報(&A)|OK|ｷｬﾝｾﾙ";
    QTest::newRow("editor") << textsOf(t.program.form5())
                            << "ﾎﾞﾀﾝ内容編集|ﾎﾞﾀﾝ名(&B):|ﾎﾞﾀﾝ内容(&I):|新規ﾎﾞﾀﾝ(&N)|OK|ｷｬﾝｾﾙ";
    QTest::newRow("rename") << textsOf(t.program.form6()) << "ﾎﾞﾀﾝ名の変更|ﾎﾞﾀﾝ名(&N):|OK|ｷｬﾝｾﾙ";
    QTest::newRow("version box")
            << textsOf(t.program.about())
            << "Snipdeckのﾊﾞｰｼﾞｮﾝ情報|Snipdeck|ﾊﾞｰｼﾞｮﾝ 0.1.22|"
               "動作中の不具合、異常または、改修の依頼は以下へお願いします。|"
                    + QString::fromUtf8(snipdeck::build::maintainerAddress) + "|OK";
    // Messages whose every way out is hard to reach from a window test.
    QTest::newRow("messages")
            << QStringList{form1text::settingsMissing, form1text::settingsUnwritable,
                           form1text::clipFileUnreadable, form1text::notShiftJis,
                           form1text::clipboardNotText, form1text::tooManyButtons,
                           form5text::createQuestion,
                           form5text::clipFileUnwritable}.join(u'|')
            << "初期化ﾌｧｲﾙが見つかりません|初期化ﾌｧｲﾙを保存できません|ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙを読み込めません|"
               "ｼﾌﾄJISで保存できない文字があります|ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容がﾃｷｽﾄ形式ではありません|"
               "ﾎﾞﾀﾝを30個以上登録することは出来ません|ｸﾘｯﾌﾟﾌｧｲﾙを新規作成しますか？|"
               "ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙを保存できません";
}

void TestWindows::texts()
{
    QFETCH(QString, shown);
    QTEST(shown, "expected");
}

void TestWindows::places_data()
{
    TestProgram t;
    t.start();
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");
    // Twips divided by 15: the list at 0,0,2055,2580 twips is 0,0,137,172 pixels.
    QTest::newRow("read files") << placesOf(t.program.form3())
                                << "0,0,137,172 0,200,65,17 72,200,65,17 0,176,65,17 72,176,65,17";
    QTest::newRow("properties")
            << placesOf(t.program.form4())
            << "8,8,233,161 16,24,129,12 16,40,153,17 16,72,86,12 16,88,75,18 92,88,13,18 "
               "120,72,73,12 120,88,68,18 188,88,13,18 16,112,64,12 16,128,63,18 80,128,13,18 "
               "112,136,113,17 80,176,73,17 168,176,73,17";
    QTest::newRow("editor") << placesOf(t.program.form5())
                            << "8,8,54,12 0,24,121,364 128,8,61,12 128,24,473,361 8,392,89,17 "
                               "440,392,73,17 520,392,81,17";
    QTest::newRow("rename") << placesOf(t.program.form6())
                            << "8,8,54,12 0,24,153,18 168,0,73,17 168,24,73,17";
}

void TestWindows::places()
{
    QFETCH(QString, shown);
    QTEST(shown, "expected");
}

void TestWindows::startUpAndShutdownKeepTheSettings()
{
    TestProgram t;
    const QString a = t.writeShiftJis("定型文.cdt", "#ｱ\r\nline 1\r\nline 2\r\n#b\r\n\r\n");
    // Saved on a monitor that is gone: the bar comes up on the primary screen.
    t.writeStartIni({"5", "300", "1800", "0", "1", "3000000", "-3000000", "0"},
                    {a, t.path("gone.cdt")});
    t.start();
    Form1 &main = t.program.form1();
    QCOMPARE(main.pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    QCOMPARE(t.messages(), QStringList{form1text::clipFileMissing + "\r\nﾌｧｲﾙ:" + t.path("gone.cdt")});
    QCOMPARE(main.windowTitle(), QStringLiteral("定型文"));
    QCOMPARE(main.Command1(0).text(), QStringLiteral("ｱ"));
    QVERIFY(!main.Command1(2).isVisible());
    QVERIFY(!main.Command2(0).isVisible()); // hidden control buttons
    QCOMPARE(main.Command1(0).width(), 120);
    main.Command1(0).click();
    QCOMPARE(t.clipboard.text(), QStringLiteral("line 1\nline 2"));

    main.move(300, 200);
    main.Command1(1).setFocus();
    QTest::keyClick(&main.Command1(1), Qt::Key_Menu); // the menu on the focused button
    QVERIFY(t.program.frmMenu().Menu_ControlButton().isChecked());
    t.program.frmMenu().Menu_Exit_Click();
    QCOMPARE(t.endProcessCalls, 1);
    const auto expected = sjis::encode(
            QStringLiteral(" 2 \r\n 300 \r\n 1800 \r\n 0 \r\n 1 \r\n 3000 \r\n 4500 \r\n 0 \r\n") + a
            + "\r\n");
    QCOMPARE(t.readBytes("Start.ini"), *expected);
}

void TestWindows::keysAndMenuReachTheirCommands()
{
    TestProgram t;
    t.startOn(t.writeShiftJis("k.cdt", "#a\r\ntext a\r\n#b\r\n\r\n"));
    Form1 &main = t.program.form1();
    FrmMenu &menu = t.program.frmMenu();

    main.Command1(1).setFocus();
    QTest::keyClick(&main.Command1(1), Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(menu.MouseMenu().isVisible());
    QVERIFY(menu.Menu_Button().isEnabled());
    QVERIFY(menu.Menu_Edit().isEnabled());
    QCOMPARE(menu.targetIndex(), 1);
    menu.MouseMenu().hide();
    QTest::mouseClick(&main.Command2(2), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(!menu.Menu_Button().isEnabled());
    menu.MouseMenu().hide();
    QCOMPARE(t.program.loadedWindows(), QList<QWidget *>{&menu}); // no dialog created

    // F3 shows a button's text over the disabled bar; a click on it hands the bar back.
    QTest::keyClick(&main.Command1(0), Qt::Key_F3);
    QVERIFY(t.program.form2().isVisible());
    QCOMPARE(t.program.form2().content(), QStringLiteral("text a"));
    QCOMPARE(t.program.form2().y() - main.y(), main.Command1(0).y() + 20); // under the button
    QVERIFY(!main.isEnabled());
    t.program.form2().Label1_Click();
    QVERIFY(main.isEnabled());
    QCOMPARE(main.focusWidget(), &main.Command1(0));
    QVERIFY(!t.program.form2().isVisible());
    t.clipboard.setText(QStringLiteral("clip")); // 内容確認 shows the clipboard under itself
    QTest::mouseClick(&main.Command2(0), Qt::LeftButton);
    QCOMPARE(t.program.form2().content(), QStringLiteral("clip"));
    QCOMPARE(t.program.form2().y() - main.y(), main.Command2(0).y() + 20);
    t.program.form2().Label1_Click();
    QTest::keyClick(&main.Command1(1), Qt::Key_F3);
    QCOMPARE(t.messages().last(), QStringLiteral("内容が存在しません"));

    // F4 on an empty clipboard, F7 opens the file in its program, Enter presses.
    t.clipboard.setText(QString());
    QTest::keyClick(&main.Command2(1), Qt::Key_F4);
    QCOMPARE(t.messages().last(), form1text::clipboardEmpty);
    QTest::keyClick(&main.Command1(0), Qt::Key_F7);
    QCOMPARE(t.launcher.lookedUp.size(), 1);
    QTest::keyClick(&main.Command1(0), Qt::Key_Return);
    QCOMPARE(t.clipboard.text(), QStringLiteral("text a"));

    // F2 opens the editor on every entry, F8 the properties; each disables the bar.
    QTest::keyClick(&main.Command1(1), Qt::Key_F2);
    QCOMPARE(t.program.form5().List1().count(), 2);
    QCOMPARE(t.program.form5().selectedEntry(), 1);
    QVERIFY(!main.isEnabled());
    t.program.form5().Command2().click();
    QVERIFY(main.isEnabled());
    QTest::keyClick(&main.Command2(0), Qt::Key_F8);
    QVERIFY(t.program.form4().isVisible());
    QCOMPARE(t.program.form4().Text1().text(), QStringLiteral("2400"));
    t.program.form4().close();
    QVERIFY(main.isEnabled());
}

void TestWindows::renameAndEditorWriteTheFile()
{
    TestProgram t;
    t.startOn(t.writeShiftJis("r.cdt", "#a\r\nx\r\n#b\r\ny\r\n"));
    Form1 &main = t.program.form1();
    QTest::keyClick(&main.Command1(1), Qt::Key_F1);
    Form6 &rename = t.program.form6();
    QVERIFY(rename.isVisible());
    QCOMPARE(rename.Text1().selectedText(), QStringLiteral("b"));
    rename.Text1().setText(QStringLiteral("ﾒｰﾙ"));
    QTest::keyClick(&rename.Text1(), Qt::Key_Return);
    QVERIFY(main.isEnabled());
    QCOMPARE(main.Command1(1).text(), QStringLiteral("ﾒｰﾙ"));
    QCOMPARE(t.readBytes("r.cdt"), *sjis::encode(QStringLiteral("#a\r\nx\r\n#ﾒｰﾙ\r\ny\r\n")));

    // The editor: a new entry named in the rename dialog over the disabled editor, a text
    // typed with LF, OK writes CR LF.
    QTest::keyClick(&main.Command1(0), Qt::Key_F2);
    Form5 &editor = t.program.form5();
    editor.Command3().click();
    QVERIFY(rename.isVisible());
    QVERIFY(!editor.isEnabled());
    rename.Text1().setText(QStringLiteral("c"));
    rename.Command1().click();
    QVERIFY(editor.isEnabled());
    editor.Text1().setPlainText(QStringLiteral("1\n2"));
    // Delete takes the selected entry out; the one after it is selected.
    editor.List1().setCurrentRow(0);
    QTest::keyClick(&editor.List1(), Qt::Key_Delete);
    QCOMPARE(itemTexts(editor.List1()), (QStringList{"ﾒｰﾙ", "c"}));
    QCOMPARE(editor.Text1().toPlainText(), QStringLiteral("y"));
    QTest::keyClick(&editor.List1(), Qt::Key_Return);
    QVERIFY(!editor.isVisible());
    QVERIFY(main.isEnabled());
    QCOMPARE(main.GetButtonNum(), 2);
    QCOMPARE(t.readBytes("r.cdt"), *sjis::encode(QStringLiteral("#ﾒｰﾙ\r\ny\r\n#c\r\n1\r\n2\r\n")));

    // Another program's version is replaced only when the user says so.
    t.writeShiftJis("r.cdt", "#other\r\n");
    t.boxes.answers = {MessageBoxes::Answer::Cancel};
    QTest::keyClick(&main.Command1(0), Qt::Key_F1);
    rename.Command1().click();
    QVERIFY(rename.isVisible());
    QCOMPARE(t.readBytes("r.cdt"), QByteArray("#other\r\n"));
    // Esc drops what was typed and writes nothing.
    QTest::keyClicks(&rename.Text1(), QStringLiteral("typed"));
    QTest::keyClick(&rename.Text1(), Qt::Key_Escape);
    QVERIFY(main.isEnabled());
    QCOMPARE(main.Command1(0).text(), QStringLiteral("ﾒｰﾙ"));
    QCOMPARE(t.readBytes("r.cdt"), QByteArray("#other\r\n"));
}

void TestWindows::newFileWritesFourteenUnsetEntries()
{
    TestProgram t;
    t.writeStartIni(TestProgram::defaultNumbers);
    t.start();
    t.fileDialogs.saveAnswers = {t.path("新規.cdt")};
    t.program.frmMenu().Menu_NewFile_Click();
    Form1 &main = t.program.form1();
    QCOMPARE(main.windowTitle(), QStringLiteral("新規"));
    QCOMPARE(main.GetDataFileNum(), 0);
    QCOMPARE(t.program.form3().List3(), QStringList{t.path("新規.cdt")});
    QString unset;
    for (int i = 0; i < 14; ++i)
        unset += "#" + form1text::unset + "\r\n\r\n";
    QCOMPARE(t.readBytes("新規.cdt"), *sjis::encode(unset));
    // A name too short to lose its extension keeps the caption; the file stays empty.
    t.fileDialogs.saveAnswers = {t.path("ab")};
    t.program.frmMenu().Menu_NewFile_Click();
    QCOMPARE(main.windowTitle(), QStringLiteral("新規"));
    QCOMPARE(t.readBytes("ab"), QByteArray());

    // With no file in use, a save asks to create one.
    main.SetDataFileName(QString());
    t.program.form3().selectIndex(-1);
    t.boxes.answers = {MessageBoxes::Answer::Ok};
    t.fileDialogs.saveAnswers = {t.path("b.cdt")};
    QVERIFY(t.program.form5().ClipFileWrite());
    QCOMPARE(t.boxes.shown.last().title, QStringLiteral("ｸﾘｯﾌﾟﾌｧｲﾙがありません"));
    QCOMPARE(t.readBytes("b.cdt"), *sjis::encode(unset));
    QCOMPARE(main.GetDataFileName(), t.path("b.cdt"));

    // Text Shift-JIS cannot hold is refused, naming its button; the file keeps what it had.
    main.SetClipData(1, QStringLiteral("😀"));
    QVERIFY(!t.program.form5().ClipFileWrite());
    QCOMPARE(t.messages().last(), form1text::notShiftJis + "\r\nﾎﾞﾀﾝ:" + form1text::unset);
    QCOMPARE(t.readBytes("b.cdt"), *sjis::encode(unset));
}

void TestWindows::readFileListAddsDeletesAndLoads()
{
    TestProgram t;
    const QString a = t.writeShiftJis("a.cdt", "#a\r\n");
    const QString b = t.writeShiftJis("b.cdt", "#b\r\n");
    t.startOn(a);
    Form1 &main = t.program.form1();
    main.Command2(2).click();
    Form3 &files = t.program.form3();
    QVERIFY(files.isVisible());
    QVERIFY(!main.isEnabled());
    t.fileDialogs.openAnswers = {QStringList{b, t.path("missing.cdt")}};
    files.Command3().click();
    QCOMPARE(itemTexts(files.List1()), (QStringList{"a.cdt", "b.cdt"}));
    QCOMPARE(files.selectedIndex(), 1);
    QTest::keyClick(&files.List1(), Qt::Key_Return);
    QVERIFY(main.isEnabled());
    QCOMPARE(main.windowTitle(), QStringLiteral("b"));
    QCOMPARE(files.List3(), (QStringList{a, b}));
    QCOMPARE(main.GetDataFileNum(), 1);

    // Delete, then Cancel: the accepted list comes back.
    main.Command2(2).click();
    files.Command4().click();
    QCOMPARE(itemTexts(files.List1()), QStringList{"a.cdt"});
    files.Command4().click();
    files.Command1().click();
    QCOMPARE(t.boxes.shown.last().text, QStringLiteral("読込ﾌｧｲﾙが選択されていません"));
    QVERIFY(files.isVisible());
    files.close();
    QVERIFY(main.isEnabled());
    QCOMPARE(itemTexts(files.List1()), (QStringList{"a.cdt", "b.cdt"}));
    QTest::keyClick(&main.Command1(0), Qt::Key_1);
    QCOMPARE(main.windowTitle(), QStringLiteral("a"));
}

void TestWindows::propertiesApplyAndHandTheBarBack()
{
    TestProgram t;
    t.startOn(t.writeShiftJis("p.cdt", "#a\r\n"));
    Form1 &main = t.program.form1();
    main.Command2(3).click();
    Form4 &properties = t.program.form4();
    QVERIFY(!main.isEnabled());
    properties.UpDown2().upArrow().click();
    QCOMPARE(properties.Text2().text(), QStringLiteral("2"));
    properties.UpDown3().downArrow().click();
    QCOMPARE(properties.Text3().text(), QStringLiteral("230"));
    properties.Text2().setText(QStringLiteral("45"));
    properties.Check1().setChecked(true);
    properties.Command1().click();
    QVERIFY(main.isEnabled());
    QCOMPARE(properties.Text2().text(), QStringLiteral("30"));
    QCOMPARE(main.GetButtonNum(), 30);
    QVERIFY(main.Command1(29).isVisible());
    QCOMPARE(main.GetWinZ(), 1);
    QCOMPARE(t.windowOrder.calls.last().onTop, true);

    // The menu's check marks apply through the same OK.
    t.program.frmMenu().Menu_ControlButton_Click();
    QCOMPARE(main.GetControlShowFlag(), 1);
    QVERIFY(!main.Command2(0).isVisible());
    t.program.frmMenu().Menu_Allways_Click();
    QCOMPARE(main.GetWinZ(), 0);
    QCOMPARE(main.GetButtonNum(), 30);
}

void TestWindows::versionBoxMailsAndHandsThePropertiesBack()
{
    TestProgram t;
    t.startOn(t.writeShiftJis("v.cdt", "#a\r\n"));
    Form1 &main = t.program.form1();
    main.Command2(3).click();
    Form4 &properties = t.program.form4();
    properties.Command3().click();
    QPointer<frmAbout> box = &t.program.about();
    QVERIFY(box->isVisible());

    // Either disclaimer line mails the maintainer; a right click does not, and a mail that
    // fails to start ends quietly.
    const QString address = QString::fromUtf8(snipdeck::build::maintainerAddress);
    QLabel &link = box->lblDisclaimer(1);
    QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(link.font().underline());
    QCOMPARE(link.font().families().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
    QTest::mouseClick(&box->lblDisclaimer(0), Qt::LeftButton);
    t.launcher.mailSucceeds = false;
    QTest::mouseClick(&link, Qt::LeftButton);
    QTest::mouseClick(&link, Qt::RightButton);
    QCOMPARE(t.launcher.mails, (QStringList{address, address}));
    QVERIFY(t.boxes.shown.isEmpty());

    // OK unloads the box and gives the properties dialog back, still over the bar.
    box->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), box.data());
    box->cmdOK().click();
    QTRY_COMPARE(QApplication::activeWindow(), &properties);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box.isNull());
    QVERIFY(!main.isEnabled());

    // Its close box, after the properties dialog is gone, leaves the bar enabled.
    properties.Command3().click();
    box = &t.program.about();
    QVERIFY(properties.close());
    QVERIFY(box->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box.isNull());
    QVERIFY(main.isEnabled());
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
