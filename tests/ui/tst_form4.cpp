#include "testprogram.h"

#include "app/form1.h"
#include "app/keycodes.h"
#include "dialogs/form2.h"
#include "dialogs/form4.h"
#include "editing/form5.h"
#include "editing/form6.h"
#include "files/form3.h"
#include "dialogs/frmabout.h"
#include "dialogs/updown.h"
#include "editing/frmmenu.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

/** A started program with the default bar (14 buttons, 2400 x 240) and its dialog. */
struct Started
{
    TestProgram t;
    Started()
    {
        t.start();
        t.boxes.shown.clear();
        t.windowOrder.calls.clear();
    }
    Form1 &main() { return t.program.form1(); }
    Form4 &dialog() { return t.program.form4(); }
    /** Opens the dialog as the control button "ﾌﾟﾛﾊﾟﾃｨ(&P)" does. */
    void open() { main().Command2_Click(3); }
    void fill(const QString &width, const QString &count, const QString &height)
    {
        dialog().Text1().setText(width);
        dialog().Text2().setText(count);
        dialog().Text3().setText(height);
    }
    QStringList fields()
    {
        return {dialog().Text1().text(), dialog().Text2().text(), dialog().Text3().text()};
    }
    QList<int> layout() { return {main().GetButtonWidth(), main().GetButtonNum(), main().GetButtonHeight()}; }
};

} // namespace

class TestForm4 : public QObject
{
    Q_OBJECT

private slots:
    void textsSizeAndPlaces();
    void openingFillsTheFieldsAndDisablesTheBar();
    void okAppliesTheFields_data();
    void okAppliesTheFields();
    void okWithEmptyFieldsKeepsTheLayout();
    void onTopReachesAllSevenWindows();
    void hidingTheControlButtons();
    void cancelAppliesNothing();
    void editorStyleApplyWithTheDialogHidden();
    void spinArrowsStepWithinTheRange();
    void closeBoxEnablesTheBarAndUnloads();
    void versionButtonOpensTheBoxAtTheDialog();
};

void TestForm4::textsSizeAndPlaces()
{
    Started s;
    Form4 &d = s.dialog();
    QCOMPARE(d.windowTitle(), QStringLiteral("Snipdeckのﾌﾟﾛﾊﾟﾃｨ"));
    QCOMPARE(d.Frame1().title(), QStringLiteral("設定(&S)"));
    QCOMPARE(d.Check1().text(), QStringLiteral("常に手前に表示(&T)"));
    QCOMPARE(d.Check2().text(), QStringLiteral("ｺﾝﾄﾛｰﾙﾎﾞﾀﾝを隠す(&H)"));
    QCOMPARE(d.Label1().text(), QStringLiteral("ﾒｲﾝｳｨﾝﾄﾞｳ幅(&W)"));
    QCOMPARE(d.Label2().text(), QStringLiteral("ﾎﾞﾀﾝの数(&N)"));
    QCOMPARE(d.Label3().text(), QStringLiteral("ﾎﾞﾀﾝの高さ(&H)"));
    QCOMPARE(d.Command1().text(), QStringLiteral("OK"));
    QCOMPARE(d.Command2().text(), QStringLiteral("ｷｬﾝｾﾙ"));
    QCOMPARE(d.Command3().text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));
    QCOMPARE(d.Label1().buddy(), &d.Text1());
    QCOMPARE(d.Label2().buddy(), &d.Text2());
    QCOMPARE(d.Label3().buddy(), &d.Text3());
    QVERIFY(!d.Command1().isDefault() && !d.Command1().autoDefault());
    QVERIFY(!d.Command2().isDefault() && !d.Command2().autoDefault());

    // 3795 x 3315 twips outside, a fixed dialog frame.
    QCOMPARE(d.minimumSize(), QSize(247, 195));
    QCOMPARE(d.maximumSize(), QSize(247, 195));
    QVERIFY(!d.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!d.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(d.Frame1().geometry(), QRect(8, 8, 233, 161));
    QCOMPARE(d.Check1().geometry(), QRect(16, 24, 129, 12));
    QCOMPARE(d.Text1().geometry(), QRect(16, 88, 75, 18));
    QCOMPARE(d.UpDown1().geometry(), QRect(92, 88, 13, 18));
    QCOMPARE(d.Text3().geometry(), QRect(120, 88, 68, 18));
    QCOMPARE(d.UpDown3().geometry(), QRect(188, 88, 13, 18));
    QCOMPARE(d.Text2().geometry(), QRect(16, 128, 63, 18));
    QCOMPARE(d.UpDown2().geometry(), QRect(80, 128, 13, 18));
    QCOMPARE(d.Command3().geometry(), QRect(112, 136, 113, 17));
    QCOMPARE(d.Command1().geometry(), QRect(80, 176, 73, 17));
    QCOMPARE(d.Command2().geometry(), QRect(168, 176, 73, 17));
    QCOMPARE(d.Command3().parentWidget(), &d.Frame1());
    QCOMPARE(d.Command1().parentWidget(), &d);

    // Tab order of the table.
    const QList<QWidget *> order = {&d.Check1(), &d.Check2(), &d.Text1(), &d.UpDown1(),
                                    &d.Text3(), &d.UpDown3(), &d.Text2(), &d.UpDown2(),
                                    &d.Command3(), &d.Command1(), &d.Command2()};
    for (int i = 0; i + 1 < order.size(); ++i) {
        QWidget *next = order.at(i)->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus) || order.at(i)->isAncestorOf(next))
            next = next->nextInFocusChain();
        QCOMPARE(next, order.at(i + 1));
    }
    QCOMPARE(d.UpDown1().range().step, 100);
    QCOMPARE(d.UpDown1().range().minimum, 200);
    QCOMPARE(d.UpDown1().range().maximum, 10000);
    QCOMPARE(&d.UpDown1().buddy(), &d.Text1());
    QCOMPARE(&d.UpDown2().buddy(), &d.Text2());
    QCOMPARE(&d.UpDown3().buddy(), &d.Text3());
}

void TestForm4::openingFillsTheFieldsAndDisablesTheBar()
{
    Started s;
    s.main().move(120, 80);
    s.open();
    QVERIFY(s.dialog().isVisible());
    QVERIFY(!s.main().isEnabled());
    QCOMPARE(s.fields(), (QStringList{"2400", "14", "240"}));
    QVERIFY(!s.dialog().Check1().isChecked());
    QCOMPARE(s.dialog().pos(), s.main().pos());

    // F8 on a button opens it too.
    s.dialog().Command2().click();
    s.main().KeyDownEvent(keycodes::f8, 1);
    QVERIFY(s.dialog().isVisible());
}

void TestForm4::okAppliesTheFields_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QList<int>>("applied"); // width, count, height
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("plain values") << QStringList{"1800", "7", "300"} << QList<int>{1800, 7, 300}
                                  << QStringList{"1800", "7", "300"};
    QTest::newRow("45 buttons are 30") << QStringList{"2400", "45", "240"}
                                       << QList<int>{2400, 30, 240}
                                       << QStringList{"2400", "30", "240"};
    QTest::newRow("0 buttons are 1") << QStringList{"2400", "0", "240"} << QList<int>{2400, 1, 240}
                                     << QStringList{"2400", "1", "240"};
    QTest::newRow("negative count is 1") << QStringList{"2400", "-3", "240"}
                                         << QList<int>{2400, 1, 240}
                                         << QStringList{"2400", "1", "240"};
    QTest::newRow("fractions round to nearest") << QStringList{"1800.6", "6.5", "249.5"}
                                                << QList<int>{1801, 6, 250}
                                                << QStringList{"1800.6", "6.5", "249.5"};
    QTest::newRow("width and height are not clamped") << QStringList{"150", "5", "600"}
                                                      << QList<int>{150, 5, 600}
                                                      << QStringList{"150", "5", "600"};
    QTest::newRow("text that is no number keeps the value in use")
            << QStringList{"wide", "many", "0x20"} << QList<int>{2400, 14, 240}
            << QStringList{"2400", "14", "240"};
    QTest::newRow("beyond 16 bits keeps the value in use")
            << QStringList{"40000", "5", "-99999"} << QList<int>{2400, 5, 240}
            << QStringList{"2400", "5", "240"};
    QTest::newRow("a bar too high for 16-bit twips gets lower buttons")
            << QStringList{"2400", "30", "2000"} << QList<int>{2400, 30, 921}
            << QStringList{"2400", "30", "921"};
    QTest::newRow("a bar too wide for 16-bit twips gets the widest window")
            << QStringList{"32700", "5", "300"} << QList<int>{32657, 5, 300}
            << QStringList{"32657", "5", "300"};
    QTest::newRow("negative width keeps the width")
            << QStringList{"-100", "5", "300"} << QList<int>{2400, 5, 300}
            << QStringList{"2400", "5", "300"};
}

void TestForm4::okAppliesTheFields()
{
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, applied);
    QFETCH(QStringList, shown);

    Started s;
    s.open();
    s.fill(typed.at(0), typed.at(1), typed.at(2));
    s.dialog().Command1().click();
    QCOMPARE(s.layout(), applied);
    QCOMPARE(s.fields(), shown);
    QVERIFY(!s.dialog().isVisible());
    QVERIFY(s.main().isEnabled());
    QCOMPARE(s.main().Command1(applied.at(1) - 1).isHidden(), false);
    QCOMPARE(s.main().Command1(applied.at(1)).isHidden(), true);
    QCOMPARE(s.main().Command1(0).width(), qRound(applied.at(0) / 15.0));
    QVERIFY(s.t.boxes.shown.isEmpty());
}

void TestForm4::okWithEmptyFieldsKeepsTheLayout()
{
    Started s;
    s.main().WindowSet(1500, 9, 270);
    // Never filled: the fields start empty.
    QCOMPARE(s.fields(), (QStringList{"", "", ""}));
    s.dialog().Command1_Click();
    QCOMPARE(s.layout(), (QList<int>{1500, 9, 270}));
    QCOMPARE(s.fields(), (QStringList{"1500", "9", "270"}));
}

void TestForm4::onTopReachesAllSevenWindows()
{
    Started s;
    Program &p = s.t.program;
    const QList<QWidget *> windows = {&p.form1(), &p.form2(), &p.form3(), &p.form4(),
                                      &p.form5(), &p.form6(), &p.about()};
    for (const bool onTop : {true, false}) {
        s.t.windowOrder.calls.clear();
        s.open();
        s.dialog().Check1().setChecked(onTop);
        s.dialog().Command1().click();
        QCOMPARE(p.frmMenu().Menu_Allways().isChecked(), onTop);
        QCOMPARE(s.main().GetWinZ(), onTop ? 1 : 0);
        QCOMPARE(s.t.windowOrder.calls.size(), 7);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(s.t.windowOrder.calls.at(i).window, windows.at(i));
            QCOMPARE(s.t.windowOrder.calls.at(i).onTop, onTop);
            QCOMPARE(s.t.windowOrder.calls.at(i).show, i == 0);
        }
    }
}

void TestForm4::hidingTheControlButtons()
{
    Started s;
    s.open();
    s.dialog().Check2().setChecked(true);
    s.dialog().Command1().click();
    QVERIFY(s.t.program.frmMenu().Menu_ControlButton().isChecked());
    QCOMPARE(s.main().GetControlShowFlag(), 1);
    QVERIFY(s.main().Command2(0).isHidden());

    s.open();
    QVERIFY(s.dialog().Check2().isChecked());
    s.dialog().Check2().setChecked(false);
    s.dialog().Command1().click();
    QVERIFY(!s.t.program.frmMenu().Menu_ControlButton().isChecked());
    QCOMPARE(s.main().GetControlShowFlag(), 0);
    QVERIFY(!s.main().Command2(0).isHidden());
}

void TestForm4::cancelAppliesNothing()
{
    Started s;
    s.open();
    s.fill("1000", "3", "400");
    s.dialog().Check1().setChecked(true);
    s.dialog().Check2().setChecked(true);
    s.dialog().Command2().click();
    QVERIFY(!s.dialog().isVisible());
    QVERIFY(s.main().isEnabled());
    QCOMPARE(s.layout(), (QList<int>{2400, 14, 240}));
    QCOMPARE(s.main().GetWinZ(), 0);
    QCOMPARE(s.main().GetControlShowFlag(), 0);
    QVERIFY(s.t.windowOrder.calls.isEmpty());
    QVERIFY(!s.t.program.frmMenu().Menu_Allways().isChecked());
    // The typed values wait in the fields until the next opening refills them.
    QCOMPARE(s.fields(), (QStringList{"1000", "3", "400"}));
    s.open();
    QCOMPARE(s.fields(), (QStringList{"2400", "14", "240"}));
    QVERIFY(!s.dialog().Check1().isChecked());
}

void TestForm4::editorStyleApplyWithTheDialogHidden()
{
    Started s;
    s.main().WindowSet(2405, 14, 240); // a width of no whole number of pixels is kept
    s.main().From4Set();
    s.dialog().Text2().setText("7");
    s.main().setEnabled(false); // as the editor leaves it while it is up
    s.dialog().Command1_Click();
    QVERIFY(!s.dialog().isVisible());
    QVERIFY(s.main().isEnabled());
    QCOMPARE(s.layout(), (QList<int>{2405, 7, 240}));
    QCOMPARE(s.dialog().Text2().text(), QStringLiteral("7"));
}

void TestForm4::spinArrowsStepWithinTheRange()
{
    Started s;
    s.open();
    Form4 &d = s.dialog();
    d.UpDown2().upArrow().click();
    QCOMPARE(d.Text2().text(), QStringLiteral("15"));
    d.UpDown2().downArrow().click();
    d.UpDown2().downArrow().click();
    QCOMPARE(d.Text2().text(), QStringLiteral("13"));
    d.UpDown1().upArrow().click();
    QCOMPARE(d.Text1().text(), QStringLiteral("2500"));
    d.UpDown3().downArrow().click();
    QCOMPARE(d.Text3().text(), QStringLiteral("230"));

    // Typed text is free; the arrows bring it back into the range.
    QTest::keyClicks(&d.Text2(), QStringLiteral("5"));
    QCOMPARE(d.Text2().text(), QStringLiteral("135"));
    d.UpDown2().downArrow().click();
    QCOMPARE(d.Text2().text(), QStringLiteral("30"));
    d.UpDown2().upArrow().click();
    QCOMPARE(d.Text2().text(), QStringLiteral("30"));
    d.Text3().setText("200");
    d.UpDown3().downArrow().click();
    QCOMPARE(d.Text3().text(), QStringLiteral("200"));
    d.Text1().setText("9990");
    d.UpDown1().upArrow().click();
    QCOMPARE(d.Text1().text(), QStringLiteral("10000"));

    // Text that is no number steps from where the control last stood.
    d.Text2().setText("abc");
    d.UpDown2().downArrow().click();
    QCOMPARE(d.Text2().text(), QStringLiteral("29"));

    // The keyboard steps too while the control has the focus.
    QTest::keyClick(&d.UpDown3(), Qt::Key_Up);
    QCOMPARE(d.Text3().text(), QStringLiteral("210"));
    QTest::keyClick(&d.UpDown3(), Qt::Key_Down);
    QCOMPARE(d.Text3().text(), QStringLiteral("200"));
}

void TestForm4::closeBoxEnablesTheBarAndUnloads()
{
    Started s;
    s.main().SetWinZ(1);
    s.main().ControlSet(1);
    s.open();
    QPointer<Form4> before = &s.dialog();
    QVERIFY(before->close());
    QVERIFY(s.main().isEnabled());
    QVERIFY(!before->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(before.isNull());

    // Loaded again, it starts from the settings in use, so an apply invoked hidden keeps them.
    Form4 &again = s.dialog();
    QVERIFY(again.Check1().isChecked());
    QVERIFY(again.Check2().isChecked());
    QVERIFY(again.Text1().text().isEmpty());
    s.t.windowOrder.calls.clear();
    again.Text2().setText("4");
    again.Command1_Click();
    QCOMPARE(s.main().GetWinZ(), 1);
    QCOMPARE(s.main().GetControlShowFlag(), 1);
    QCOMPARE(s.main().GetButtonNum(), 4);
    QVERIFY(s.t.windowOrder.calls.first().onTop);
}

void TestForm4::versionButtonOpensTheBoxAtTheDialog()
{
    Started s;
    s.main().move(200, 150);
    s.open();
    s.dialog().Command3().click();
    frmAbout &box = s.t.program.about();
    QVERIFY(box.isVisible());
    QCOMPARE(box.pos(), s.dialog().pos());
    QVERIFY(s.dialog().isEnabled());
    QVERIFY(s.dialog().isVisible());
}

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"
