#include "platform/sjiscodec.h"

#include <QTest>

namespace {
const QString bad(QChar::ReplacementCharacter);
const QString filler(3 * sjis::encodePiece, u'a');
const int border = int(sjis::encodePiece);
} // namespace

class TestSjisCodec : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII, line ends and controls Qt's codec would swap")
                << u"\\~ #1\r\nb\rc\n\x1a\x1c\x7f"_qs << QByteArray("\\~ #1\r\nb\rc\n\x1a\x1c\x7f");
        QTest::newRow("half-width katakana is one byte") << u"ﾎﾞﾀﾝ"_qs << QByteArray("\xce\xde\xc0\xdd");
        QTest::newRow("kanji, NEC and IBM extensions") << u"未設定①髙"_qs << QByteArray("\x96\xa2\x90\xdd\x92\xe8\x87\x40\xfb\xfc");
        // Long texts are encoded piece by piece; every character must arrive once, in order.
        QString text;
        QByteArray bytes;
        for (qsizetype i = 0; i < 2 * sjis::encodePiece + 7; ++i) {
            text += i % 3 ? u"未"_qs : QString::number(i % 10);
            bytes += i % 3 ? QByteArray("\x96\xa2") : QByteArray::number(i % 10);
        }
        QTest::newRow("text longer than several pieces") << text << bytes;
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(sjis::encode(text), std::optional<QByteArray>(bytes));
        QCOMPARE(sjis::decode(bytes), text);
    }

    // Any bytes decode: one bad byte is one replacement character, and reading goes on.
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("bad trail, never-characters, lead byte at the end")
                << QByteArray("a\x81 b\xa0\xfd" "c\x82") << u"a"_qs + bad + u" b"_qs + bad + bad + u"c"_qs + bad;
        QTest::newRow("lead byte before CR LF keeps the line end") << QByteArray("A\x81\r\nx") << u"A"_qs + bad + u"\r\nx"_qs;
        QTest::newRow("unassigned pair: the trail byte read on") << QByteArray("\x85\x40") << bad + u"@"_qs;
        QTest::newRow("trail byte 0x5C is no backslash") << QByteArray("\x95\x5c\x83\x5c") << u"表ソ"_qs;
        QTest::newRow("NUL is a character") << QByteArray("A\0B", 3) << QStringView(u"A\0B", 3).toString();
        // Large inputs go to iconv in blocks of 64 KiB: a character or a bad byte on the seam
        // comes out as anywhere else.
        const QByteArray tail("\x82\xa0\x81\r\n#\x81\x40\x9f");
        const QString tailText = u"あ"_qs + bad + u"\r\n#\u3000"_qs + bad;
        for (const int prefix : {65533, 65534, 65535, 65536, 65537, 131071, 131072})
            QTest::addRow("%d bytes before", prefix) << QByteArray(prefix, 'a') + tail << QString(prefix, u'a') + tailText;
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QTEST(sjis::decode(bytes), "text");
    }

    void refusesWhatShiftJisCannotHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("emoji") << u"ok 😀"_qs;
        QTest::newRow("lone surrogate") << QString(QChar(0xd800));
        // Past the first pieces of a long text, and across the border between two pieces.
        QTest::newRow("yen sign far into a long text") << filler + u"¥"_qs;
        for (int at : {border - 2, border - 1, border})
            QTest::addRow("emoji at %d", at) << QString(filler).insert(at, u"😀"_qs);
        QTest::newRow("lone high surrogate at a piece's end") << QString(filler).insert(border - 1, QChar(0xd800));
    }
    void refusesWhatShiftJisCannotHold()
    {
        QFETCH(QString, text);
        QCOMPARE(sjis::encode(text), std::nullopt);
        // Appended onto earlier output, a refusal leaves that output as it was.
        QByteArray out("kept");
        QVERIFY(!sjis::appendEncoded(text, out));
        QCOMPARE(out, QByteArray("kept"));
    }

    void lookAlikesAreFoldedOrRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("dashes, lines and signs") << u"9:00〜17:00‖−¢£¬—"_qs
                                                 << QByteArray("9:00\x81\x60" "17:00\x81\x61\x81\x7c\x81\x91\x81\x92\x81\xca\x81\x5c")
                                                 << u"9:00～17:00∥－￠￡￢―"_qs;
        // Not the backslash byte: a price must not read back as a path separator.
        QTest::newRow("yen sign") << u"¥100"_qs << QByteArray("\x81\x8f" "100") << u"￥100"_qs;
        QTest::newRow("far into a long text") << filler + u"〜"_qs << filler.toLatin1() + "\x81\x60"
                                              << filler + u"～"_qs;
    }
    void lookAlikesAreFoldedOrRefused()
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
};

QTEST_GUILESS_MAIN(TestSjisCodec)
#include "tst_sjiscodec.moc"
