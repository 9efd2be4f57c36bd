#include "files/startini.h"
#include "platform/sjiscodec.h"

#include <QTest>

namespace {
QString lines(const QStringList &list)
{
    return list.join(u"\r\n"_qs) + u"\r\n"_qs;
}

StartSettings settings(QList<int> n, const QStringList &paths = {}, std::optional<double> top = 0,
                       std::optional<double> left = 0)
{
    return {n[0], n[1], n[2], n[3], n[4], top, left, n[5], paths};
}
} // namespace

class TestStartIni : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void roundTrip_data();
    void roundTrip();
    void writesTheDocumentedBytes();
    void pathsShiftJisCannotHoldAreLeftOut_data();
    void pathsShiftJisCannotHoldAreLeftOut();
    void resolveIndex_data();
    void resolveIndex();
};

void TestStartIni::parse_data()
{
    // Numbers are buttonNum, height, width, winZ, controlShowFlag, savedIndex.
    QTest::addColumn<QString>("text");
    QTest::addColumn<StartSettings>("expected");
    QTest::newRow("well formed") << lines({" 5 ", " 300 ", " 2000 ", " 1 ", " 0 ", " 1500 ", "-45 ", " 1 ", "/a", "/b"})
                                 << settings({5, 300, 2000, 1, 0, 1}, {"/a", "/b"}, 1500, -45);
    QTest::newRow("fewer than eight lines") << lines({" 7 ", " 250 "}) << settings({7, 250, 2400, 0, 0, -1}, {}, {}, {});
    QTest::newRow("not numbers") << lines({"x", "", "0x10", "inf", "1", "a", "b", "nan"})
                                 << settings({14, 240, 2400, 0, 1, -1}, {}, {}, {});
    QTest::newRow("out of 16 bits") << lines({"40000", "240", "2400", "-32769", "0", "0", "0", "99999"})
                                    << settings({14, 240, 2400, 0, 0, -1});
    QTest::newRow("count above 30 becomes 30") << lines({"45", "240", "2400", "0", "0", "0", "0", "0"})
                                               << settings({30, 240, 2400, 0, 0, 0});
    QTest::newRow("half rounds to even") << lines({"2.5", "240.5", "2400", "2", "0", "0", "0", "0"})
                                         << settings({2, 240, 2400, 2, 0, 0});
    QTest::newRow("layout beyond 16-bit twips falls back") << lines({"30", "2000", "32000", "0", "0", "0", "0", "0"})
                                                           << settings({30, 240, 2400, 0, 0, 0});
    QTest::newRow("negative height falls back") << lines({"5", "-10", "2400", "0", "0", "0", "0", "0"})
                                                << settings({5, 240, 2400, 0, 0, 0});
    QTest::newRow("empty lines among paths are skipped, blanks kept")
            << lines({"1", "2", "3", "4", "5", "6", "7", "8", "", "/a", "", " ", "/b c;d"})
            << settings({1, 2, 3, 4, 5, 8}, {"/a", " ", "/b c;d"}, 6, 7);
    QTest::newRow("only CR ends a line; a last line without one is read")
            << u"1\r2\r\n3\r4\r5\r6\r7\r8\rlast"_qs << settings({1, 2, 3, 4, 5, 8}, {"last"}, 6, 7);
    // Lines of a MiB: numbers beyond 16 bits or single precision, blanks, a long path.
    const QString digits(1024 * 1024, u'1');
    const QString longPath = u"/tmp/"_qs + QString(1024 * 1024, u'長');
    QTest::newRow("huge lines") << lines({digits, " 300 ", digits, " 1 ", QString(1024 * 1024, u' '), "-" + digits,
                                          digits + ".5", " 0 ", longPath})
                                << settings({14, 300, 2400, 1, 0, 0}, {longPath}, {}, {});
    QStringList paths;
    for (int i = 0; i < 100000; ++i)
        paths.append(u"/home/山田/定型文 %1/file;%1.cdt"_qs.arg(i));
    QTest::newRow("100,000 paths") << lines(QStringList{"14", "240", "2400", "0", "0", "0", "0", "0"} + paths)
                                   << settings({14, 240, 2400, 0, 0, 0}, paths);
}

void TestStartIni::parse()
{
    QFETCH(QString, text);
    QFETCH(StartSettings, expected);
    QVERIFY(startini::parse(text) == expected);
}

void TestStartIni::roundTrip_data()
{
    QTest::addColumn<StartSettings>("settings");
    QTest::newRow("every value set") << settings({30, 200, 10000, 1, 1, 2}, {"/a", "/a", "/ｶﾀｶﾅ/①.cdt"}, 12345, 0);
    // Paths are kept exactly, however much they look like something else.
    for (const char *path : {"/tmp/a b/c  d.cdt", " /tmp/x.cdt", "/tmp/x.cdt  ", "   ", "\"/tmp/quoted.cdt\"",
                             "/tmp/it's.cdt", "/tmp/a;b;;c.cdt;", "; not a comment", "[Settings]",
                             "Path=C:\\data.cdt", " 14 ", "/tmp/a\tb\nc.cdt", "C:\\Users\\山田\\ﾃﾞｽｸﾄｯﾌﾟ\\定型文①.cdt"})
        QTest::newRow(path) << settings({14, 240, 2400, 0, 0, 1}, {"/first.cdt", path, path});
}

void TestStartIni::roundTrip()
{
    QFETCH(StartSettings, settings);
    const auto encoded = startini::encode(settings);
    QVERIFY(encoded.leftOut.isEmpty());
    QCOMPARE(startini::parse(sjis::decode(encoded.bytes)), settings);
}

void TestStartIni::writesTheDocumentedBytes()
{
    const auto encoded = startini::encode(settings({14, 240, 2400, 0, 0, 1}, {"/home/u/定型文.cdt", "/x y.cdt"}, 1500, -30));
    QVERIFY(encoded.leftOut.isEmpty());
    QCOMPARE(encoded.bytes, QByteArray(" 14 \r\n 240 \r\n 2400 \r\n 0 \r\n 0 \r\n 1500 \r\n-30 \r\n 1 \r\n"
                                       "/home/u/\x92\xe8\x8c\x5e\x95\xb6.cdt\r\n/x y.cdt\r\n"));
    QCOMPARE(startini::encode(StartSettings{}).bytes, QByteArray(" 14 \r\n 240 \r\n 2400 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n-1 \r\n"));
}

void TestStartIni::pathsShiftJisCannotHoldAreLeftOut_data()
{
    QTest::addColumn<int>("saved");
    QTest::addColumn<int>("readBack");
    QTest::newRow("two left out before the selected one") << 4 << 2;
    QTest::newRow("the selected one left out: none selected") << 1 << -1;
    QTest::newRow("selected before any left out") << 0 << 0;
}

void TestStartIni::pathsShiftJisCannotHoldAreLeftOut()
{
    QFETCH(int, saved);
    QFETCH(int, readBack);
    const auto encoded = startini::encode(settings({14, 240, 2400, 0, 0, saved}, {"/a", "/café", "/b", "/😀", "/c"}));
    QCOMPARE(encoded.leftOut, (QStringList{"/café", "/😀"}));
    QCOMPARE(startini::parse(sjis::decode(encoded.bytes)), settings({14, 240, 2400, 0, 0, readBack}, {"/a", "/b", "/c"}));
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
    QTest::newRow("far into a long list") << 30000 << QList<bool>(100000, true) << 30000;
}

void TestStartIni::resolveIndex()
{
    QFETCH(int, saved);
    QFETCH(QList<bool>, exists);
    QTEST(startini::resolveIndex(saved, exists), "expected");
}

QTEST_GUILESS_MAIN(TestStartIni)
#include "tst_startini.moc"
