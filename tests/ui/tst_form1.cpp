#include "testprogram.h"

#include "app/form1.h"
#include "app/form1text.h"
#include "dialogs/form2.h"
#include "dialogs/form4.h"
#include "dialogs/frmabout.h"
#include "editing/frmmenu.h"
#include "files/form3.h"
#include "platform/sjiscodec.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTest>

#include <algorithm>

namespace {

const QStringList kDefaults = {" 14 ", " 240 ", " 2400 ", " 0 ", " 0 ", " 1500 ", " 1500 ", "-1 "};

QStringList numbers(int count, int index, int winZ = 0, int hidden = 0)
{
    return {QString::number(count), "240", "2400", QString::number(winZ), QString::number(hidden),
            "1500", "1500", QString::number(index)};
}

QString missing(const QString &path)
{
    return form1text::clipFileMissing + "\r\nﾌｧｲﾙ:" + path;
}

QString clipText(int entries, const QString &prefix = QStringLiteral("E"))
{
    QString text;
    for (int i = 0; i < entries; ++i)
        text += QStringLiteral("#%1%2\r\n%1 text %2\r\nsecond line\r\n").arg(prefix).arg(i);
    return text;
}

QStringList captions(const Form1 &main)
{
    QStringList result;
    for (int i = 0; i < main.GetButtonNum(); ++i)
        result.append(main.Command1(i).text());
    return result;
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void freshStartShowsSettingsMessageAndFourteenUnsetButtons();
    void iconIsTheDrawingInEveryRenderedSize();
    void missingListedFilesMoveTheSelection_data();
    void missingListedFilesMoveTheSelection();
    void onlyListedFileMissingKeepsCountAndCaption();
    void thirtyOneEntriesLoadThirty();
    void captionIsNameLessFourCharacters_data();
    void captionIsNameLessFourCharacters();
    void unreadableFileIsReportedAndButtonsReset();
    void hugeCaptionIsShownWithoutStalling();
    void settingsAppliedAtStart();
    void positionOnNoScreenMovesToPrimary();
    void shutdownWritesSettingsFromWorkingList();
    void shutdownReportsUnwritableSettingsAndStillEnds();
    void pathShiftJisCannotHoldIsLeftOutAndNamed();
    void snippetButtonReplacesClipboardWithItsText_data();
    void snippetButtonReplacesClipboardWithItsText();
    void clipboardCheck();
    void contentViewFocusReturnsToTheButton();
    void keysOnControlButtonsAndDigits();
    void rightClickSetsMenuStates();
    void userResizeChangesWidthAndHeightButOwnResizesDoNot();
    void enterPressesTheFocusedButtonOfAnyWindow();
};

void TestForm1::freshStartShowsSettingsMessageAndFourteenUnsetButtons()
{
    TestProgram t;
    t.start();
    QCOMPARE(t.messages(), QStringList{form1text::settingsMissing + "\r\nﾌｧｲﾙ:" + t.path("Start.ini")});
    QCOMPARE(t.boxes.shown.first().icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(t.boxes.shown.first().title, QStringLiteral("Snipdeck"));
    Form1 &main = t.program.form1();
    QVERIFY(main.isVisible());
    QCOMPARE(main.GetButtonNum(), 14);
    QCOMPARE(captions(main), QStringList(14, form1text::unset));
    QCOMPARE(main.Command1(0).size(), QSize(160, 16));
    QVERIFY(!main.Command1(14).isVisible());
    QVERIFY(!main.Command1(14).isEnabled());
    QCOMPARE(main.windowTitle(), QStringLiteral("Snipdeck"));
    QCOMPARE(main.Command2(4).text(), QStringLiteral("終了(&X)"));
    QCOMPARE(main.Command2(2).toolTip(), QStringLiteral("ｸﾘｯﾌﾟﾌｧｲﾙの追加、削除、再読込を行います"));
    // Every window wears the main window's icon.
    for (QWidget *window : t.program.stackedWindows())
        QVERIFY(!window->windowIcon().isNull());
}

void TestForm1::iconIsTheDrawingInEveryRenderedSize()
{
    TestProgram t;
    const QIcon &icon = t.program.icon();
    QList<QSize> sizes = icon.availableSizes();
    std::sort(sizes.begin(), sizes.end(),
              [](QSize a, QSize b) { return a.width() < b.width(); });
    QCOMPARE(sizes, (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    for (const QSize &size : sizes) {
        QImageReader drawing(QStringLiteral(SNIPDECK_ICON_SVG));
        drawing.setScaledSize(size);
        const QImage expected = drawing.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY2(!expected.isNull(), qPrintable(drawing.errorString()));
        const QImage carried = icon.pixmap(size).toImage().convertToFormat(
                QImage::Format_ARGB32_Premultiplied);
        QVERIFY2(carried == expected, qPrintable(QStringLiteral("size %1").arg(size.width())));
    }
}

void TestForm1::missingListedFilesMoveTheSelection_data()
{
    QTest::addColumn<int>("saved");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("caption");
    QTest::newRow("C saved, B missing: C") << 2 << 1 << "C";
    QTest::newRow("B saved and missing: A") << 1 << 0 << "A";
}

void TestForm1::missingListedFilesMoveTheSelection()
{
    QFETCH(int, saved);
    TestProgram t;
    const QString a = t.writeShiftJis("A.cdt", "#a\r\n");
    const QString c = t.writeShiftJis("C.cdt", "#c1\r\n#c2\r\n");
    const QString b = t.path("B.cdt");
    t.writeStartIni(numbers(14, saved), {a, b, c});
    t.start();
    QCOMPARE(t.messages(), QStringList{missing(b)});
    Form3 &files = t.program.form3();
    QCOMPARE(files.List2(), (QStringList{a, c}));
    QCOMPARE(files.List3(), (QStringList{a, c}));
    QCOMPARE(files.List1().item(1)->text(), QStringLiteral("C.cdt"));
    Form1 &main = t.program.form1();
    QTEST(main.GetDataFileNum(), "expected");
    QTEST(files.selectedIndex(), "expected");
    QTEST(main.windowTitle(), "caption");
}

void TestForm1::onlyListedFileMissingKeepsCountAndCaption()
{
    TestProgram t;
    t.writeStartIni(numbers(7, 0), {t.path("gone.cdt"), "", " "});
    t.start();
    // The blank line is a path of its own and is reported; the empty one is skipped.
    QCOMPARE(t.messages(), (QStringList{missing(t.path("gone.cdt")), missing(" ")}));
    Form1 &main = t.program.form1();
    QCOMPARE(main.GetDataFileNum(), -1);
    QCOMPARE(main.GetDataFileName(), QString());
    QCOMPARE(t.program.form3().selectedIndex(), -1);
    QCOMPARE(captions(main), QStringList(7, form1text::unset));
    QCOMPARE(main.windowTitle(), QStringLiteral("Snipdeck"));
}

void TestForm1::thirtyOneEntriesLoadThirty()
{
    TestProgram t;
    const QString big = t.writeShiftJis("big.cdt", clipText(31));
    t.writeStartIni(numbers(14, 0), {big});
    t.start();
    Form1 &main = t.program.form1();
    QCOMPARE(main.GetButtonNum(), 30);
    QCOMPARE(main.Command1(29).text(), QStringLiteral("E29"));
    QCOMPARE(main.GetClipData(29), QStringLiteral("E text 29\r\nsecond line"));
    QVERIFY(main.GetClipData(30).isEmpty());
    main.ReadFile(big);
    QCOMPARE(main.GetButtonNum(), 30);

    // A file without entries lays out the default 14.
    t.writeShiftJis("big.cdt", "no header here\r\n");
    main.ReadFile(big);
    QCOMPARE(main.GetButtonNum(), 14);
    QVERIFY(t.messages().isEmpty());
}

void TestForm1::captionIsNameLessFourCharacters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("abc.cdt") << "abc.cdt" << "abc";
    QTest::newRow("memo.txt") << "memo.txt" << "memo";
    QTest::newRow("exactly four") << "abcd" << "";
    QTest::newRow("shorter than four") << "ab" << "";
}

void TestForm1::captionIsNameLessFourCharacters()
{
    QFETCH(QString, name);
    TestProgram t;
    t.writeStartIni(numbers(14, 0), {t.writeShiftJis(name, "#x\r\n")});
    t.start();
    QTEST(t.program.form1().windowTitle(), "caption");
}

void TestForm1::unreadableFileIsReportedAndButtonsReset()
{
    TestProgram t;
    t.writeStartIni(numbers(14, -1));
    t.start();
    Form1 &main = t.program.form1();
    const QString good = t.writeShiftJis("good.cdt", clipText(3));
    main.ReadFile(good);
    QCOMPARE(main.windowTitle(), QStringLiteral("good"));
    // Exists as an ordinary file, yet no one can read it.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    main.ReadFile(unreadable);
    QCOMPARE(t.messages(), QStringList{form1text::clipFileUnreadable + "\r\nﾌｧｲﾙ:" + unreadable});
    QCOMPARE(captions(main), QStringList(3, form1text::unset));
    QVERIFY(main.GetClipData(0).isEmpty());
    QCOMPARE(main.windowTitle(), QStringLiteral("good"));
    // An empty name resets quietly; a folder is not a file.
    main.ReadFile(QString());
    main.ReadFile(t.dir.path());
    QCOMPARE(t.messages().size(), 2);
    QCOMPARE(t.messages().last(), missing(t.dir.path()));
}

void TestForm1::hugeCaptionIsShownWithoutStalling()
{
    // A whole file on one line makes one enormous caption; drawing it all would freeze the
    // bar for minutes.
    TestProgram t;
    const QString caption(8 * 1024 * 1024, u'x');
    t.writeStartIni(numbers(14, 0), {t.writeShiftJis("one.cdt", "#" + caption + "\r\nbody\r\n")});
    t.start();
    Form1 &main = t.program.form1();
    QCOMPARE(main.Command1(0).text().size(), caption.size());
    QVERIFY(!main.grab().isNull());
    QTest::mouseClick(&main.Command1(0), Qt::LeftButton);
    QCOMPARE(t.clipboard.text(), QStringLiteral("body"));
}

void TestForm1::settingsAppliedAtStart()
{
    TestProgram t;
    t.writeStartIni({" 5 ", " 300 ", " 3000 ", " 1 ", " 1 ", " 1500 ", " 3000 ", "-1 "});
    t.start();
    // Start-up creates only the read-file list and the menus; the others wait for their use.
    QCOMPARE(t.program.loadedWindows(),
             (QList<QWidget *>{&t.program.form3(), &t.program.frmMenu()}));
    Form1 &main = t.program.form1();
    QCOMPARE(main.GetButtonNum(), 5);
    QCOMPARE(main.GetButtonHeight(), 300);
    QCOMPARE(main.GetButtonWidth(), 3000);
    QCOMPARE(main.pos(), QPoint(200, 100));
    QCOMPARE(main.size(), QSize(200, 100)); // 5 × 300 twips, controls hidden
    QVERIFY(!main.Command2(0).isVisible());
    FrmMenu &menu = t.program.frmMenu();
    QVERIFY(menu.Menu_Allways().isChecked());
    QVERIFY(menu.Menu_ControlButton().isChecked());
    QVERIFY(t.program.form4().Check1().isChecked());
    QVERIFY(t.program.form4().Check2().isChecked());
    // The bar comes up without the dialogs; each goes on top as it is created, and only the
    // main window is shown by it.
    QCOMPARE(t.windowOrder.calls.first().window, &main);
    const QList<QWidget *> windows = t.program.stackedWindows();
    QCOMPARE(t.windowOrder.calls.size(), windows.size());
    for (const FakeWindowOrder::Call &call : t.windowOrder.calls) {
        QCOMPARE(windows.count(call.window), 1);
        QVERIFY(call.onTop);
        QCOMPARE(call.show, call.window == &main);
    }
    // Once the setting is off, a window created anew stays in the normal order.
    t.program.setAllOnTop(false);
    t.windowOrder.calls.clear();
    t.program.unload(&t.program.about());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!t.program.about().isVisible());
    QVERIFY(t.windowOrder.calls.isEmpty());

    // Only 1 counts as set.
    TestProgram two;
    two.writeStartIni({" 5 ", " 300 ", " 3000 ", " 2 ", " 2 ", " 0 ", " 0 ", "-1 "});
    two.start();
    QVERIFY(two.windowOrder.calls.isEmpty());
    QVERIFY(!two.program.frmMenu().Menu_Allways().isChecked());
    QVERIFY(two.program.form1().Command2(0).isVisible());
}

void TestForm1::positionOnNoScreenMovesToPrimary()
{
    TestProgram t;
    t.writeStartIni({" 14 ", " 240 ", " 2400 ", " 0 ", " 0 ", " 3000000 ", "-3000000 ", "-1 "});
    t.start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(t.program.form1().pos()));
}

void TestForm1::shutdownWritesSettingsFromWorkingList()
{
    TestProgram t;
    const QString a = t.writeShiftJis("a b;c.cdt", "#x\r\n");
    const QString b = t.writeShiftJis("定型文.cdt", "#y\r\n");
    t.writeStartIni(numbers(14, 1), {a, b});
    t.start();
    Form1 &main = t.program.form1();
    main.move(300, 200);
    t.program.form3().appendEntry("a b;c.cdt", a); // an edit not yet accepted still counts
    main.Command2_Click(4);
    QCOMPARE(t.endProcessCalls, 1);
    const auto expected = sjis::encode(QStringLiteral(" 1 \r\n 240 \r\n 2400 \r\n 0 \r\n 0 \r\n 3000 \r\n 4500 \r\n 1 \r\n")
                                       + a + "\r\n" + b + "\r\n" + a + "\r\n");
    QCOMPARE(t.readBytes("Start.ini"), *expected);
}

void TestForm1::shutdownReportsUnwritableSettingsAndStillEnds()
{
    TestProgram t;
    t.start();
    QVERIFY(QDir(t.dir.path()).mkdir("Start.ini")); // a folder where the file should go
    t.boxes.shown.clear();
    t.program.form1().close();
    QCOMPARE(t.messages(), QStringList{form1text::settingsUnwritable + "\r\nﾌｧｲﾙ:" + t.path("Start.ini")});
    QCOMPARE(t.endProcessCalls, 1);
}

void TestForm1::pathShiftJisCannotHoldIsLeftOutAndNamed()
{
    TestProgram t;
    t.start();
    t.boxes.shown.clear();
    t.program.form3().appendEntry("x", "/tmp/café.cdt");
    t.program.form3().appendEntry("y", "/tmp/plain.cdt");
    t.program.form1().close();
    QCOMPARE(t.messages(), QStringList{form1text::notShiftJis + "\r\nﾌｧｲﾙ:/tmp/café.cdt"});
    const QByteArray written = t.readBytes("Start.ini");
    QVERIFY(written.endsWith("-1 \r\n/tmp/plain.cdt\r\n"));
}

void TestForm1::snippetButtonReplacesClipboardWithItsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("lines end in LF alone") << "one\r\ntwo\r\n" << "one\ntwo\n";
    QTest::newRow("lone CR and LF") << "a\rb\nc\r\r\nd" << "a\nb\nc\n\nd";
    QTest::newRow("unset button") << "" << "";
}

void TestForm1::snippetButtonReplacesClipboardWithItsText()
{
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    TestProgram t;
    t.writeStartIni(numbers(14, 0), {t.writeShiftJis("m.cdt", "#a\r\nold\r\n")});
    t.start();
    Form1 &main = t.program.form1();
    main.SetClipData(0, text);
    QTest::mouseClick(&main.Command1(0), Qt::LeftButton);
    QCOMPARE(t.clipboard.operations, (QStringList{"clear", "setText:" + clipboard}));
    QTest::keyClick(&main.Command1(0), Qt::Key_Space);
    QCOMPARE(t.clipboard.operations.mid(2), (QStringList{"clear", "setText:" + clipboard}));
    QVERIFY(t.clipboard.hasText());
    QCOMPARE(main.GetClipData(0), text); // the clip table keeps CR LF
}

void TestForm1::clipboardCheck()
{
    TestProgram t;
    t.writeStartIni(numbers(14, -1));
    t.start();
    Form1 &main = t.program.form1();
    Form2 &view = t.program.form2();

    t.clipboard.holdNonText();
    main.Kakunin();
    QCOMPARE(t.messages(), QStringList{form1text::clipboardNotText});
    QVERIFY(!view.isVisible());

    t.clipboard.setText(QString());
    main.Kakunin();
    QCOMPARE(t.messages().last(), form1text::clipboardEmpty);
    QCOMPARE(t.boxes.shown.last().icon, MessageBoxes::Icon::Information);
    QVERIFY(main.isEnabled());

    // Another program's text is shown as it comes, CR LF and all.
    t.clipboard.holdText("short\r\na much longer line\r\nmid");
    main.Kakunin();
    QVERIFY(view.isVisible());
    QVERIFY(!main.isEnabled());
    QCOMPARE(view.content(), QStringLiteral("short\r\na much longer line\r\nmid"));
    QCOMPARE(view.Label1().text(), QStringLiteral("short\na much longer line\nmid"));
    QCOMPARE(view.size(), view.Label1().size());
    const QFontMetrics metrics(view.Label1().font());
    QVERIFY(view.width() >= metrics.horizontalAdvance("a much longer line"));
    QVERIFY(view.height() >= 3 * metrics.height() - 3);
}

void TestForm1::contentViewFocusReturnsToTheButton()
{
    TestProgram t;
    t.writeStartIni(numbers(14, 0), {t.writeShiftJis("m.cdt", clipText(6))});
    t.start();
    Form1 &main = t.program.form1();
    main.activateWindow();
    // F3 on snippet button 4 shows its text under it; a click gives the focus back to it.
    QTest::keyClick(&main.Command1(4), Qt::Key_F3);
    Form2 &view = t.program.form2();
    QVERIFY(view.isVisible());
    QCOMPARE(view.content(), QStringLiteral("E text 4\r\nsecond line"));
    QCOMPARE(view.pos(), QPoint(main.pos().x(), main.pos().y() + 4 * 16 + 20));
    QTest::mouseClick(&view.Label1(), Qt::LeftButton);
    QVERIFY(!view.isVisible());
    QVERIFY(main.isEnabled());
    QTRY_COMPARE(main.focusWidget(), &main.Command1(4));

    // From the control button "内容確認(&C)" the focus goes back to that button.
    t.clipboard.setText("clip");
    QTest::mouseClick(&main.Command2(0), Qt::LeftButton);
    QVERIFY(view.isVisible());
    QCOMPARE(view.content(), QStringLiteral("clip"));
    QTest::keyClick(&view, Qt::Key_Escape); // the keyboard dismisses it too
    QTRY_COMPARE(main.focusWidget(), &main.Command2(0));

    // Closed by the system: enabled again, focus untouched.
    main.Kakunin();
    QVERIFY(!main.isEnabled());
    view.close();
    QVERIFY(main.isEnabled());
}

void TestForm1::keysOnControlButtonsAndDigits()
{
    TestProgram t;
    QStringList paths;
    for (int i = 1; i <= 10; ++i)
        paths.append(t.writeShiftJis(QStringLiteral("file%1.cdt").arg(i, 2, 10, QLatin1Char('0')),
                                     QStringLiteral("#b%1\r\n").arg(i)));
    t.writeStartIni(numbers(14, 0), paths);
    t.start();
    Form1 &main = t.program.form1();
    main.activateWindow();

    QTest::keyClick(&main.Command2(1), Qt::Key_F3); // F1..F3 act on snippet buttons only
    QVERIFY(!t.program.form2().isVisible());

    QTest::keyClick(&main.Command1(0), Qt::Key_9);
    QCOMPARE(main.windowTitle(), QStringLiteral("file09"));
    QTest::keyClick(&main.Command1(0), Qt::Key_0); // "0" is the tenth file
    QCOMPARE(main.windowTitle(), QStringLiteral("file10"));
    QCOMPARE(main.GetDataFileNum(), 9);
    QCOMPARE(main.GetDataFileName(), paths[9]);
    // An entry in Windows form stands for the file of its name beside Start.ini, and becomes it.
    Form3 &files = t.program.form3();
    files.List2()[2] = files.List3()[2] = QStringLiteral("C:\\定型文\\FILE03.CDT");
    QTest::keyClick(&main.Command2(3), Qt::Key_3);
    QCOMPARE(main.windowTitle(), QStringLiteral("file03"));
    QCOMPARE(files.selectedIndex(), 2);
    QCOMPARE(main.GetDataFileName(), paths[2]);
    QCOMPARE((QStringList{files.List2()[2], files.List3()[2]}), (QStringList{paths[2], paths[2]}));
    QTest::keyClick(&main.Command1(0), Qt::Key_4, Qt::KeypadModifier);
    QCOMPARE(main.windowTitle(), QStringLiteral("file03"));

    // F5 reloads the file in use.
    t.writeShiftJis("file03.cdt", "#changed\r\n");
    QTest::keyClick(&main.Command1(0), Qt::Key_F5);
    QCOMPARE(main.Command1(0).text(), QStringLiteral("changed"));

    // F6 opens the read-file selection at the bar's corner, with the bar disabled.
    QTest::keyClick(&main.Command2(0), Qt::Key_F6);
    QVERIFY(t.program.form3().isVisible());
    QVERIFY(!main.isEnabled());
    QCOMPARE(t.program.form3().focusFlag(), 1);
}

void TestForm1::rightClickSetsMenuStates()
{
    TestProgram t;
    t.writeStartIni(numbers(14, -1));
    t.start();
    Form1 &main = t.program.form1();
    FrmMenu &menu = t.program.frmMenu();
    QTest::mouseClick(&main.Command1(3), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(menu.MouseMenu().isVisible());
    QVERIFY(menu.Menu_Button().isEnabled());
    QVERIFY(!menu.Menu_Edit().isEnabled());
    QVERIFY(!menu.Menu_Update().isEnabled());
    QVERIFY(menu.Menu_NewFile().isEnabled());
    QCOMPARE(menu.targetIndex(), 3);
    QCOMPARE(t.program.form2().focusFlag(), 0);
    menu.MouseMenu().hide();

    main.ReadFile(t.writeShiftJis("m.cdt", "#a\r\n"));
    main.SetDataFileName(t.path("m.cdt"));
    QTest::mouseClick(&main.Command2(2), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(!menu.Menu_Button().isEnabled());
    QVERIFY(menu.Menu_Edit().isEnabled());
    QCOMPARE(menu.targetIndex(), 2);
    QCOMPARE(t.program.form3().focusFlag(), 1);
    menu.MouseMenu().hide();

    // The keyboard opens it too.
    main.activateWindow();
    QTest::keyClick(&main.Command1(5), Qt::Key_Menu);
    QVERIFY(menu.MouseMenu().isVisible());
    QCOMPARE(menu.targetIndex(), 5);
    QVERIFY(menu.Menu_Button().isEnabled());
    menu.MouseMenu().hide();

    // Left and middle buttons open nothing.
    QTest::mouseClick(&main.Command1(0), Qt::MiddleButton);
    QVERIFY(!menu.MouseMenu().isVisible());
}

void TestForm1::userResizeChangesWidthAndHeightButOwnResizesDoNot()
{
    TestProgram t;
    t.writeStartIni({" 5 ", " 300 ", " 2400 ", " 0 ", " 0 ", " 0 ", " 0 ", "-1 "});
    t.start();
    Form1 &main = t.program.form1();
    QCOMPARE(main.size(), QSize(160, 207)); // (5 + 5) × 300 + 100 twips

    // A late resize event carrying the program's own size changes nothing.
    QResizeEvent own(main.size(), QSize(10, 10));
    QApplication::sendEvent(&main, &own);
    QCOMPARE(main.GetButtonHeight(), 300);

    // Two layouts in a row, and the window system reports the first size last.
    main.WindowSet(2400, 5, 240);
    const QSize first = main.size();
    main.WindowSet(2400, 5, 300);
    QResizeEvent late(first, main.size());
    QApplication::sendEvent(&main, &late);
    QCOMPARE(main.GetButtonHeight(), 300);
    QCOMPARE(main.GetButtonWidth(), 2400);

    // The user drags the border: 200 px wide, 310 px high.
    main.resize(200, 310);
    QCOMPARE(main.GetButtonWidth(), 3000);
    QCOMPARE(main.GetButtonHeight(), 455); // (4650 − 100) / 10
    QCOMPARE(main.GetButtonNum(), 5);
    const QSize snapped = main.size();
    // Repeating the layout is stable: no creep.
    main.resize(snapped);
    main.Form_Resize();
    QCOMPARE(main.GetButtonHeight(), 455);
    QCOMPARE(main.size(), snapped);

    // Too small: the buttons get no height; beyond 16-bit twips: the largest bar there is.
    main.resize(200, 6); // 90 twips of client: less than the gap
    QCOMPARE(main.GetButtonHeight(), 0);
    main.resize(5000, 5000);
    QCOMPARE(main.GetButtonWidth(), 32657);
    QCOMPARE(main.GetButtonHeight(), 3226); // (32767 − 400 − 100) / 10
    QCOMPARE(main.size(), QSize(2177, 2157));
}

void TestForm1::enterPressesTheFocusedButtonOfAnyWindow()
{
    TestProgram t;
    t.writeStartIni(numbers(14, 0), {t.writeShiftJis("m.cdt", "#a\r\nA\r\n")});
    t.start();
    Form1 &main = t.program.form1();
    QTest::keyClick(&main.Command1(0), Qt::Key_Return);
    QCOMPARE(t.clipboard.text(), QStringLiteral("A"));

    // Properties: Cancel has the focus, Enter cancels.
    main.FormAbout();
    Form4 &properties = t.program.form4();
    properties.Text2().setText("3");
    properties.Command2().setFocus();
    QTest::keyClick(&properties.Command2(), Qt::Key_Return);
    QVERIFY(!properties.isVisible());
    QVERIFY(main.isEnabled());
    QCOMPARE(main.GetButtonNum(), 1);
    // And with OK focused it applies.
    main.FormAbout();
    properties.Text2().setText("3");
    properties.Command1().setFocus();
    QTest::keyClick(&properties.Command1(), Qt::Key_Enter);
    QCOMPARE(main.GetButtonNum(), 3);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
