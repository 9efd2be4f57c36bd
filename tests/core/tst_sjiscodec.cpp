#include "platform/sjiscodec.h"

#include <QTest>

class TestSjisCodec : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void bytesQtWouldSwapAreKept();
    void invalidBytesBecomeReplacementAndReadingGoesOn();
    void refusesWhatShiftJisCannotHold_data();
    void refusesWhatShiftJisCannotHold();
    void lookAlikesAreFoldedOrRefused_data();
    void lookAlikesAreFoldedOrRefused();
};

void TestSjisCodec::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("abc #1") << QByteArray("abc #1");
    QTest::newRow("half-width katakana is one byte") << QStringLiteral("ﾎﾞﾀﾝ")
                                                     << QByteArray("\xce\xde\xc0\xdd");
    QTest::newRow("kanji and hiragana") << QStringLiteral("未設定") << QByteArray("\x96\xa2\x90\xdd\x92\xe8");
    QTest::newRow("NEC circled digit") << QStringLiteral("①") << QByteArray("\x87\x40");
    QTest::newRow("IBM extension") << QStringLiteral("髙") << QByteArray("\xfb\xfc");
    QTest::newRow("full-width tilde") << QStringLiteral("～") << QByteArray("\x81\x60");
    QTest::newRow("backslash and tilde stay ASCII") << QStringLiteral("\\~") << QByteArray("\\~");
    QTest::newRow("line ends") << QStringLiteral("a\r\nb\rc\n") << QByteArray("a\r\nb\rc\n");
    // Long texts are encoded piece by piece; every character must arrive once, in order.
    QString longText;
    QByteArray longBytes;
    for (qsizetype i = 0; i < 2 * sjis::encodePiece + 7; ++i) {
        longText += i % 3 ? QStringLiteral("未") : QString::number(i % 10);
        longBytes += i % 3 ? QByteArray("\x96\xa2") : QByteArray::number(i % 10);
    }
    QTest::newRow("text longer than several pieces") << longText << longBytes;
}

void TestSjisCodec::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(sjis::encode(text), std::optional<QByteArray>(bytes));
    QCOMPARE(sjis::decode(bytes), text);
}

void TestSjisCodec::bytesQtWouldSwapAreKept()
{
    const QByteArray controls("\x1a\x1c\x7f", 3);
    QCOMPARE(sjis::decode(controls), QString::fromLatin1(controls));
}

void TestSjisCodec::invalidBytesBecomeReplacementAndReadingGoesOn()
{
    // 0x81 0x20 is a lead byte with an invalid trail; 0xa0 and 0xfd are never characters;
    // a lead byte at the very end is cut short.
    const QString text = sjis::decode(QByteArray("a\x81 b\xa0\xfd" "c\x82", 8));
    QCOMPARE(text.left(1), QStringLiteral("a"));
    QVERIFY(text.contains(QStringLiteral("b")));
    QVERIFY(text.contains(QStringLiteral("c")));
    QVERIFY(text.endsWith(QChar(0xfffd)));
    QVERIFY(text.count(QChar(0xfffd)) >= 3);
}

void TestSjisCodec::refusesWhatShiftJisCannotHold_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("emoji") << QStringLiteral("ok 😀");
    QTest::newRow("accented latin") << QStringLiteral("café");
    QTest::newRow("lone surrogate") << QString(QChar(0xd800));
    // Past the first pieces of a long text, and across the border between two pieces.
    const QString filler(3 * sjis::encodePiece, u'a');
    QTest::newRow("yen sign far into a long text") << filler + QStringLiteral("¥");
    const int border = int(sjis::encodePiece);
    for (int at : {border - 2, border - 1, border})
        QTest::addRow("emoji at %d", at) << QString(filler).insert(at, QStringLiteral("😀"));
    QTest::newRow("lone high surrogate at a piece's end")
            << QString(filler).insert(border - 1, QChar(0xd800));
}

void TestSjisCodec::refusesWhatShiftJisCannotHold()
{
    QFETCH(QString, text);
    QCOMPARE(sjis::encode(text), std::nullopt);
    // Appended onto earlier output, a refusal leaves that output as it was.
    QByteArray out("kept");
    QVERIFY(!sjis::appendEncoded(text, out));
    QCOMPARE(out, QByteArray("kept"));
}

void TestSjisCodec::lookAlikesAreFoldedOrRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("wave dash") << QStringLiteral("9:00〜17:00") << QByteArray("9:00\x81\x60" "17:00")
                               << QStringLiteral("9:00～17:00");
    QTest::newRow("double vertical line") << QStringLiteral("‖") << QByteArray("\x81\x61") << QStringLiteral("∥");
    QTest::newRow("minus sign") << QStringLiteral("−") << QByteArray("\x81\x7c") << QStringLiteral("－");
    QTest::newRow("cent, pound, not") << QStringLiteral("¢£¬") << QByteArray("\x81\x91\x81\x92\x81\xca")
                                      << QStringLiteral("￠￡￢");
    QTest::newRow("em dash") << QStringLiteral("—") << QByteArray("\x81\x5c") << QStringLiteral("―");
    // Not the backslash byte: a price must not read back as a path separator.
    QTest::newRow("yen sign") << QStringLiteral("¥100") << QByteArray("\x81\x8f" "100")
                              << QStringLiteral("￥100");
    const QString filler(3 * sjis::encodePiece, u'a');
    QTest::newRow("far into a long text") << filler + QStringLiteral("〜")
                                          << filler.toLatin1() + "\x81\x60" << filler + QStringLiteral("～");
}

void TestSjisCodec::lookAlikesAreFoldedOrRefused()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readBack);
    QCOMPARE(sjis::encode(text, sjis::LookAlikes::Fold), std::optional<QByteArray>(bytes));
    QCOMPARE(sjis::decode(bytes), readBack);
    QCOMPARE(sjis::foldLookAlikes(text), readBack);
    // A path that read back as another character would name another file.
    QCOMPARE(sjis::encode(text), std::nullopt);
}

QTEST_GUILESS_MAIN(TestSjisCodec)
#include "tst_sjiscodec.moc"
