#include "files/startini.h"
#include "platform/sjiscodec.h"

#include <QTest>

namespace {
QString lines(const QStringList &list)
{
    QString text;
    for (const QString &line : list)
        text += line + QStringLiteral("\r\n");
    return text;
}
} // namespace

class TestStartIni : public QObject
{
    Q_OBJECT

private slots:
    void parsesWellFormedFile();
    void malformedValuesTakeDefaults_data();
    void malformedValuesTakeDefaults();
    void emptyLinesAmongPathsAreSkippedButBlanksAreKept();
    void writesTheDocumentedBytes();
    void roundTrip();
    void pathsShiftJisCannotHoldAreLeftOut();
    void resolveIndex_data();
    void resolveIndex();
};

void TestStartIni::parsesWellFormedFile()
{
    const StartSettings s = startini::parse(lines(
            {" 5 ", " 300 ", " 2000 ", " 1 ", " 0 ", " 1500 ", "-45 ", " 1 ", "/a.cdt", "/b.cdt"}));
    QCOMPARE(s.buttonNum, 5);
    QCOMPARE(s.buttonHeight, 300);
    QCOMPARE(s.buttonWidth, 2000);
    QCOMPARE(s.winZ, 1);
    QCOMPARE(s.controlShowFlag, 0);
    QCOMPARE(s.top, std::optional<double>(1500));
    QCOMPARE(s.left, std::optional<double>(-45));
    QCOMPARE(s.savedIndex, 1);
    QCOMPARE(s.paths, (QStringList{"/a.cdt", "/b.cdt"}));
}

void TestStartIni::malformedValuesTakeDefaults_data()
{
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<int>("buttonNum");
    QTest::addColumn<int>("buttonHeight");
    QTest::addColumn<int>("buttonWidth");
    QTest::addColumn<int>("winZ");
    QTest::addColumn<int>("savedIndex");
    QTest::newRow("fewer than eight lines") << QStringList{" 7 ", " 250 "} << 7 << 250 << 2400 << 0 << -1;
    QTest::newRow("not numbers") << QStringList{"x", "", "0x10", "inf", "1", "a", "b", "nan"}
                                 << 14 << 240 << 2400 << 0 << -1;
    QTest::newRow("out of 16 bits") << QStringList{"40000", "240", "2400", "-32769", "0", "0", "0", "99999"}
                                    << 14 << 240 << 2400 << 0 << -1;
    QTest::newRow("count above 30 becomes 30") << QStringList{"45", "240", "2400", "0", "0", "0", "0", "0"}
                                               << 30 << 240 << 2400 << 0 << 0;
    QTest::newRow("half rounds to even") << QStringList{"2.5", "240.5", "2400", "2", "0", "0", "0", "0"}
                                         << 2 << 240 << 2400 << 2 << 0;
    QTest::newRow("layout beyond 16-bit twips falls back")
            << QStringList{"30", "2000", "32000", "0", "0", "0", "0", "0"} << 30 << 240 << 2400 << 0 << 0;
    QTest::newRow("negative height falls back")
            << QStringList{"5", "-10", "2400", "0", "0", "0", "0", "0"} << 5 << 240 << 2400 << 0 << 0;
}

void TestStartIni::malformedValuesTakeDefaults()
{
    QFETCH(QStringList, file);
    const StartSettings s = startini::parse(lines(file));
    QTEST(s.buttonNum, "buttonNum");
    QTEST(s.buttonHeight, "buttonHeight");
    QTEST(s.buttonWidth, "buttonWidth");
    QTEST(s.winZ, "winZ");
    QTEST(s.savedIndex, "savedIndex");
}

void TestStartIni::emptyLinesAmongPathsAreSkippedButBlanksAreKept()
{
    const StartSettings s = startini::parse(lines({"1", "2", "3", "4", "5", "6", "7", "8", "",
                                                   "/a", "", " ", "/b c;d"}));
    QCOMPARE(s.paths, (QStringList{"/a", " ", "/b c;d"}));
    // Only the line ends count, and a last line without one is read.
    QCOMPARE(startini::parse(QStringLiteral("1\r2\r\n3\r4\r5\r6\r7\r8\rlast")).paths,
             QStringList{"last"});
}

void TestStartIni::writesTheDocumentedBytes()
{
    StartSettings s;
    s.top = 1500;
    s.left = -30;
    s.paths = {"/home/u/定型文.cdt", "/x y.cdt"};
    s.savedIndex = 1;
    const auto encoded = startini::encode(s);
    QVERIFY(encoded.leftOut.isEmpty());
    QCOMPARE(encoded.bytes, QByteArray(" 14 \r\n 240 \r\n 2400 \r\n 0 \r\n 0 \r\n 1500 \r\n-30 \r\n 1 \r\n"
                                       "/home/u/\x92\xe8\x8c\x5e\x95\xb6.cdt\r\n/x y.cdt\r\n"));
    QCOMPARE(startini::encode(StartSettings{}).bytes.count("\r\n"), 8);
}

void TestStartIni::roundTrip()
{
    StartSettings s;
    s.buttonNum = 30;
    s.buttonHeight = 200;
    s.buttonWidth = 10000;
    s.winZ = 1;
    s.controlShowFlag = 1;
    s.top = 12345;
    s.left = 0;
    s.savedIndex = 2;
    s.paths = {"/a", "/a", "/ｶﾀｶﾅ/①.cdt"};
    QCOMPARE(startini::parse(sjis::decode(startini::encode(s).bytes)), s);
}

void TestStartIni::pathsShiftJisCannotHoldAreLeftOut()
{
    StartSettings s;
    s.paths = {"/a", "/café", "/b", "/😀", "/c"};
    s.savedIndex = 4; // "/c": two paths before it go, it stays selected
    auto encoded = startini::encode(s);
    QCOMPARE(encoded.leftOut, (QStringList{"/café", "/😀"}));
    StartSettings back = startini::parse(sjis::decode(encoded.bytes));
    QCOMPARE(back.paths, (QStringList{"/a", "/b", "/c"}));
    QCOMPARE(back.savedIndex, 2);

    s.savedIndex = 1; // the selected path itself cannot be kept: nothing is selected
    QCOMPARE(startini::parse(sjis::decode(startini::encode(s).bytes)).savedIndex, -1);
}

void TestStartIni::resolveIndex_data()
{
    QTest::addColumn<int>("saved");
    QTest::addColumn<QList<bool>>("exists");
    QTest::addColumn<int>("expected");
    QTest::newRow("B missing, C saved: stays on C") << 2 << QList<bool>{true, false, true} << 1;
    QTest::newRow("B missing and saved: the one before") << 1 << QList<bool>{true, false, true} << 0;
    QTest::newRow("only entry missing") << 0 << QList<bool>{false} << -1;
    QTest::newRow("nothing saved") << -1 << QList<bool>{false, true} << -1;
    QTest::newRow("beyond the list") << 5 << QList<bool>{true, true} << -1;
    QTest::newRow("below -1") << -3 << QList<bool>{true} << -1;
    QTest::newRow("missing after the saved one do not count") << 0 << QList<bool>{true, false} << 0;
}

void TestStartIni::resolveIndex()
{
    QFETCH(int, saved);
    QFETCH(QList<bool>, exists);
    QTEST(startini::resolveIndex(saved, exists), "expected");
}

QTEST_GUILESS_MAIN(TestStartIni)
#include "tst_startini.moc"
