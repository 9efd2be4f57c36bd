#include "dialogs/spinstep.h"

#include <QTest>

using spinstep::Range;

Q_DECLARE_METATYPE(spinstep::Range)

namespace {
constexpr Range kWidth{100, 200, 10000};
constexpr Range kCount{1, 1, 30};
constexpr Range kHeight{10, 200, 500};
} // namespace

class TestSpinStep : public QObject
{
    Q_OBJECT

private slots:
    void stepped_data();
    void stepped();
};

void TestSpinStep::stepped_data()
{
    QTest::addColumn<Range>("range");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fallback");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("result");

    QTest::newRow("width up") << kWidth << "2400" << 200 << true << 2500;
    QTest::newRow("width down") << kWidth << "2400" << 200 << false << 2300;
    QTest::newRow("width up off the grid") << kWidth << "2450" << 200 << true << 2550;
    QTest::newRow("width down stops at 200") << kWidth << "250" << 200 << false << 200;
    QTest::newRow("width up stops at 10000") << kWidth << "9950" << 200 << true << 10000;
    QTest::newRow("count up") << kCount << "14" << 1 << true << 15;
    QTest::newRow("count up at the top") << kCount << "30" << 1 << true << 30;
    QTest::newRow("count down at the bottom") << kCount << "1" << 1 << false << 1;
    QTest::newRow("typed count above the range") << kCount << "45" << 1 << false << 30;
    QTest::newRow("typed count below the range") << kCount << "-5" << 1 << true << 1;
    QTest::newRow("blanks around the number") << kCount << " 7 " << 1 << true << 8;
    QTest::newRow("fraction rounds first") << kCount << "7.5" << 1 << true << 9;
    QTest::newRow("height up") << kHeight << "240" << 200 << true << 250;
    QTest::newRow("height down stops at 200") << kHeight << "205" << 200 << false << 200;
    QTest::newRow("no number steps from fallback") << kHeight << "abc" << 300 << true << 310;
    QTest::newRow("empty steps from fallback") << kCount << "" << 14 << false << 13;
    QTest::newRow("huge number stays in range") << kWidth << "1e300" << 200 << false << 10000;
    QTest::newRow("hexadecimal is no number") << kCount << "0x10" << 5 << true << 6;
}

void TestSpinStep::stepped()
{
    QFETCH(Range, range);
    QFETCH(QString, text);
    QFETCH(int, fallback);
    QFETCH(bool, up);
    QTEST(spinstep::stepped(text, fallback, range, up), "result");
}

QTEST_GUILESS_MAIN(TestSpinStep)
#include "tst_spinstep.moc"
