#include "app/barlayout.h"
#include "app/keycodes.h"
#include "app/numbers.h"

#include <QTest>

class TestBarLayout : public QObject
{
    Q_OBJECT

private slots:
    void fiveButtonsWithControls();
    void everyRequestIsLaidOut_data();
    void everyRequestIsLaidOut();
    void resize_data();
    void resize();
    void roundsHalfToEven();
    void keyCodes_data();
    void keyCodes();
};

void TestBarLayout::fiveButtonsWithControls()
{
    const barlayout::Layout layout = barlayout::compute(2400, 5, 300, false);
    QCOMPARE(layout.snippetTops, (QList<int>{0, 300, 600, 900, 1200}));
    QCOMPARE(layout.controlTops, (std::array<int, 5>{1600, 1900, 2200, 2500, 2800}));
    QCOMPARE(layout.windowHeight, 3500.0);
    QCOMPARE(layout.windowWidth, 2510);
}

void TestBarLayout::everyRequestIsLaidOut_data()
{
    QTest::addColumn<QList<int>>("asked"); // width, count, height
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QList<int>>("laidOut");
    QTest::addColumn<double>("windowHeight");
    QTest::newRow("5 × 300 without controls") << QList<int>{2400, 5, 300} << true
                                             << QList<int>{2400, 5, 300} << 1900.0;
    QTest::newRow("count 0 is 14") << QList<int>{2400, 0, 240} << false
                                   << QList<int>{2400, 14, 240} << 5060.0;
    QTest::newRow("negative count is 14") << QList<int>{2400, -3, 240} << false
                                          << QList<int>{2400, 14, 240} << 5060.0;
    QTest::newRow("count beyond the buttons is 31") << QList<int>{2400, 40, 240} << true
                                                    << QList<int>{2400, 31, 240} << 7840.0;
    // 17 + 5 buttons of 1500 would reach 33,100 twips: the tallest that fits is 1466.
    QTest::newRow("too tall: lower buttons, all of them") << QList<int>{2400, 17, 1500} << false
                                                          << QList<int>{2400, 17, 1466} << 32752.0;
    QTest::newRow("30 of 1000 fit without the controls") << QList<int>{2400, 30, 1000} << true
                                                         << QList<int>{2400, 30, 1000} << 30400.0;
    QTest::newRow("too wide: the widest window") << QList<int>{32700, 5, 240} << false
                                                 << QList<int>{32657, 5, 240} << 2900.0;
    QTest::newRow("negative sizes are 0") << QList<int>{-1, 5, -240} << false
                                          << QList<int>{0, 5, 0} << 500.0;
}

void TestBarLayout::everyRequestIsLaidOut()
{
    QFETCH(QList<int>, asked);
    QFETCH(bool, hidden);
    QFETCH(QList<int>, laidOut);
    const barlayout::Layout layout = barlayout::compute(asked[0], asked[1], asked[2], hidden);
    QCOMPARE((QList<int>{layout.buttonWidth, layout.buttonNum, layout.buttonHeight}), laidOut);
    QTEST(layout.windowHeight, "windowHeight");
    QVERIFY(layout.windowHeight <= 32767);
    QCOMPARE(layout.snippetTops.size(), laidOut[1]);
    QCOMPARE(barlayout::fits(asked[0], asked[1], asked[2], hidden),
             asked[0] == laidOut[0] && asked[2] == laidOut[2] && asked[1] <= 31);
}

void TestBarLayout::resize_data()
{
    QTest::addColumn<double>("outerHeight");
    QTest::addColumn<int>("buttonNum");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<int>("height");
    QTest::newRow("5 buttons, controls, 3500") << 3500.0 << 5 << false << 300;
    QTest::newRow("outer 500 gives 0") << 500.0 << 5 << false << 0;
    QTest::newRow("outer 450 gives 0") << 450.0 << 5 << false << 0;
    QTest::newRow("hidden, 4 buttons, 1610: 302.5 rounds to 302") << 1610.0 << 4 << true << 302;
    QTest::newRow("hidden, 4 buttons, 1614: 303.5 rounds to 304") << 1614.0 << 4 << true << 304;
}

void TestBarLayout::resize()
{
    QFETCH(double, outerHeight);
    QFETCH(int, buttonNum);
    QFETCH(bool, hidden);
    const auto size = barlayout::fromWindowSize(2510, outerHeight, buttonNum, hidden);
    QCOMPARE(size.width, 2400);
    QTEST(size.height, "height");
}

void TestBarLayout::roundsHalfToEven()
{
    QCOMPARE(numbers::roundHalfEven(0.5), 0.0);
    QCOMPARE(numbers::roundHalfEven(1.5), 2.0);
    QCOMPARE(numbers::roundHalfEven(-2.5), -2.0);
    QCOMPARE(numbers::roundHalfEven(2.6), 3.0);
    QCOMPARE(numbers::toInt16(32767.4), std::optional<int>(32767));
    QCOMPARE(numbers::toInt16(32767.6), std::nullopt);
    QCOMPARE(numbers::parseInt16(u" 12 "), std::optional<int>(12));
    QCOMPARE(numbers::parseInt16(u"12abc"), std::nullopt);
}

void TestBarLayout::keyCodes_data()
{
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<unsigned>("scanCode");
    QTest::addColumn<int>("code");
    QTest::newRow("F1") << int(Qt::Key_F1) << false << 0u << 112;
    QTest::newRow("F8") << int(Qt::Key_F8) << false << 0u << 119;
    QTest::newRow("0") << int(Qt::Key_0) << false << 0u << 48;
    QTest::newRow("9") << int(Qt::Key_9) << false << 0u << 57;
    QTest::newRow("keypad 5 is no file number") << int(Qt::Key_5) << true << 84u << 0;
    QTest::newRow("Return") << int(Qt::Key_Return) << false << 0u << 13;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << false << 0u << 46;
    QTest::newRow("Shift+1 is 1") << int(Qt::Key_Exclam) << false << 10u << 49;
    QTest::newRow("Shift+0 is 0") << int(Qt::Key_ParenRight) << false << 19u << 48;
    QTest::newRow("! elsewhere is nothing") << int(Qt::Key_Exclam) << false << 0u << 0;
}

void TestBarLayout::keyCodes()
{
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(unsigned, scanCode);
    QTEST(keycodes::fromQtKey(qtKey, keypad, scanCode), "code");
}

QTEST_GUILESS_MAIN(TestBarLayout)
#include "tst_barlayout.moc"
