#include "app/barlayout.h"
#include "app/keycodes.h"
#include "app/numbers.h"

#include <QTest>

class TestBarLayout : public QObject
{
    Q_OBJECT

private slots:
    void fiveButtonsWithControls();
    void fiveButtonsWithoutControls();
    void countBelowOneLaysOutFourteen();
    void unrepresentableLayoutsAreRefused();
    void resize_data();
    void resize();
    void roundsHalfToEven();
    void keyCodes();
};

void TestBarLayout::fiveButtonsWithControls()
{
    const auto layout = barlayout::compute(2400, 5, 300, false);
    QVERIFY(layout);
    QCOMPARE(layout->snippetTops, (QList<int>{0, 300, 600, 900, 1200}));
    QCOMPARE(layout->controlTops, (std::array<int, 5>{1600, 1900, 2200, 2500, 2800}));
    QCOMPARE(layout->windowHeight, 3500.0);
    QCOMPARE(layout->windowWidth, 2510);
}

void TestBarLayout::fiveButtonsWithoutControls()
{
    const auto layout = barlayout::compute(2400, 5, 300, true);
    QVERIFY(layout);
    QVERIFY(!layout->controlsShown);
    QCOMPARE(layout->windowHeight, 1900.0);
}

void TestBarLayout::countBelowOneLaysOutFourteen()
{
    QCOMPARE(barlayout::compute(2400, 0, 240, false)->buttonNum, 14);
    QCOMPARE(barlayout::compute(2400, -3, 240, false)->buttonNum, 14);
}

void TestBarLayout::unrepresentableLayoutsAreRefused()
{
    QVERIFY(!barlayout::compute(2400, 30, 1000, false)); // 35 buttons reach 35100 twips
    QVERIFY(barlayout::compute(2400, 30, 1000, true));    // 30 fit without the controls
    QVERIFY(!barlayout::compute(32700, 5, 240, false));   // the window would be 32810 wide
    QVERIFY(!barlayout::compute(2400, 32, 240, false));   // only 31 buttons exist
    QVERIFY(!barlayout::compute(-1, 5, 240, false));
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

void TestBarLayout::keyCodes()
{
    QCOMPARE(keycodes::fromQtKey(Qt::Key_F1, false), 112);
    QCOMPARE(keycodes::fromQtKey(Qt::Key_F8, false), 119);
    QCOMPARE(keycodes::fromQtKey(Qt::Key_0, false), 48);
    QCOMPARE(keycodes::fromQtKey(Qt::Key_9, false), 57);
    QCOMPARE(keycodes::fromQtKey(Qt::Key_5, true), 0); // the keypad's digits are not file numbers
    QCOMPARE(keycodes::fromQtKey(Qt::Key_Return, false), 13);
    QCOMPARE(keycodes::fromQtKey(Qt::Key_Delete, false), 46);
}

QTEST_GUILESS_MAIN(TestBarLayout)
#include "tst_barlayout.moc"
