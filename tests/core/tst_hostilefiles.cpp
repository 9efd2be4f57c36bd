// Files as they arrive from outside: huge, binary, not Shift-JIS, with far too many entries
// or paths. None of them may crash or hang the readers; each loads what the format allows.

#include "files/clipfile.h"
#include "files/startini.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qsizetype MiB = 1024 * 1024;

QByteArray sjisBytes(const QString &text)
{
    const auto bytes = sjis::encode(text);
    return bytes.value_or(QByteArray());
}

/** What any clip data text must look like once read, whatever the file held. */
void verifyWellFormed(const QList<ClipEntry> &entries)
{
    QVERIFY(entries.size() <= clipfile::maxEntries);
    for (const ClipEntry &entry : entries) {
        QVERIFY(!entry.caption.contains(u'\r'));
        QVERIFY(!QString(entry.text).remove(QStringLiteral("\r\n")).contains(u'\r'));
        QVERIFY(!entry.text.startsWith(QStringLiteral("\r\n")));
    }
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void hugeLine_data();
    void hugeLine();
    void manyHeaders_data();
    void manyHeaders();
    void binaryJunk_data();
    void binaryJunk();
    void invalidShiftJis_data();
    void invalidShiftJis();
    void decodeAcrossBlocks_data();
    void decodeAcrossBlocks();

    void startIniManyPaths();
    void startIniHugeLines();
    void startIniOddPaths_data();
    void startIniOddPaths();

private:
    /** Writes `bytes` as a file in the test's folder and reads it back as clip data. */
    clipfile::ReadResult readClipFile(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHostileFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

clipfile::ReadResult TestHostileFiles::readClipFile(const QByteArray &bytes)
{
    const QString path = m_dir->filePath(QStringLiteral("hostile.cdt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    return clipfile::read(path);
}

void TestHostileFiles::hugeLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<ClipEntry>>("expected");

    const qsizetype chars = 25 * MiB; // two bytes each: 50 MiB
    const QString kana(chars, u'あ');
    const QByteArray kanaBytes = sjisBytes(kana);
    QCOMPARE(kanaBytes.size(), 50 * MiB);

    QTest::newRow("50 MiB caption") << (QByteArray("#") + kanaBytes + "\r\n")
                                    << QList<ClipEntry>{{kana, QString()}};
    QTest::newRow("50 MiB text line, no line end") << (QByteArray("#A\r\n") + kanaBytes)
                                                   << QList<ClipEntry>{{QStringLiteral("A"), kana}};

    // An editor that writes bare LF: the whole file is one line, so one caption.
    QByteArray lf;
    lf.reserve(50 * MiB + 1);
    lf.append('#');
    while (lf.size() < 50 * MiB)
        lf.append("#x\n");
    QTest::newRow("50 MiB of bare LF lines") << lf
                                             << QList<ClipEntry>{{QString::fromLatin1(lf.mid(1)), QString()}};
}

void TestHostileFiles::hugeLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<ClipEntry>, expected);
    const auto result = readClipFile(bytes);
    QCOMPARE(result.status, clipfile::ReadResult::Status::Ok);
    QCOMPARE(result.entries.size(), expected.size());
    // Compared as a whole: a failure must not print 50 MiB.
    QVERIFY(result.entries == expected);
}

void TestHostileFiles::manyHeaders_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("withTexts");

    QString text;
    for (int i = 0; i < 100000; ++i)
        text += QStringLiteral("#見出し%1\r\n本文%1\r\n").arg(i);
    QTest::newRow("100,000 entries") << sjisBytes(text) << true;

    text.clear();
    for (int i = 0; i < 100000; ++i)
        text += QStringLiteral("#見出し%1\r").arg(i);
    QTest::newRow("100,000 headers, lone CR") << sjisBytes(text) << false;
}

void TestHostileFiles::manyHeaders()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, withTexts);
    const auto result = readClipFile(bytes);
    QCOMPARE(result.status, clipfile::ReadResult::Status::Ok);
    QCOMPARE(result.entries.size(), clipfile::maxEntries);
    for (int i = 0; i < clipfile::maxEntries; ++i) {
        QCOMPARE(result.entries.at(i).caption, QStringLiteral("見出し%1").arg(i));
        QCOMPARE(result.entries.at(i).text, withTexts ? QStringLiteral("本文%1").arg(i) : QString());
    }
}

void TestHostileFiles::binaryJunk_data()
{
    QTest::addColumn<QByteArray>("bytes");

    // Fixed seeds: a failure must be repeatable.
    QRandomGenerator random(20260);
    QByteArray uniform(8 * MiB, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(uniform.data()), uniform.size() / 4);
    QTest::newRow("8 MiB of random bytes") << uniform;

    // Bytes the reader treats specially, densely packed.
    static constexpr char kAlphabet[] = {'#', '\r', '\n', '\0', '\x81', '\x82', '\xa0', '\xff',
                                         '\x5c', '\xe0', '\xfc', 'a', ' '};
    QByteArray dense(8 * MiB, Qt::Uninitialized);
    for (char &c : dense)
        c = kAlphabet[random.bounded(int(sizeof(kAlphabet)))];
    QTest::newRow("8 MiB of headers, line ends, lead bytes") << dense;

    QTest::newRow("only CR") << QByteArray(4 * MiB, '\r');
    QTest::newRow("only #") << QByteArray(4 * MiB, '#');
    QTest::newRow("only NUL") << QByteArray(4 * MiB, '\0');
    QTest::newRow("only lead bytes") << QByteArray(4 * MiB, '\x81');
}

void TestHostileFiles::binaryJunk()
{
    QFETCH(QByteArray, bytes);
    const auto result = readClipFile(bytes);
    QCOMPARE(result.status, clipfile::ReadResult::Status::Ok);
    verifyWellFormed(result.entries);

    // Saving what was read either works and reads back the same, or is refused and the
    // file keeps every byte.
    const QString path = m_dir->filePath(QStringLiteral("hostile.cdt"));
    const auto written = clipfile::write(path, result.entries, result.encoding);
    if (written.ok()) {
        QVERIFY(clipfile::read(path).entries == result.entries);
    } else {
        QCOMPARE(written.status, clipfile::WriteResult::Status::Unencodable);
        QVERIFY(written.entryIndex >= 0 && written.entryIndex < result.entries.size());
        QVERIFY(filesystem::readWholeFile(path) == bytes);
    }
}

void TestHostileFiles::invalidShiftJis_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<ClipEntry>>("expected");

    const QString bad(QChar::ReplacementCharacter);
    const auto e = [](const QString &caption, const QString &text) { return ClipEntry{caption, text}; };

    QTest::newRow("lead byte before CR LF keeps the line end")
        << QByteArray("#A\x81\r\nx\r\n#B\r\n")
        << QList<ClipEntry>{e(u"A"_qs + bad, u"x"_qs), e(u"B"_qs, {})};
    QTest::newRow("lead byte before lone CR")
        << QByteArray("#A\x9f\rx\x9f\ry")
        << QList<ClipEntry>{e(u"A"_qs + bad, u"x"_qs + bad + u"\r\ny"_qs)};
    QTest::newRow("lead byte at the end of the file")
        << QByteArray("#A\r\nx\xe0")
        << QList<ClipEntry>{e(u"A"_qs, u"x"_qs + bad)};
    QTest::newRow("lead byte before # is a text line")
        << QByteArray("#A\r\n\x81#B\r\ny")
        << QList<ClipEntry>{e(u"A"_qs, bad + u"#B\r\ny"_qs)};
    QTest::newRow("unassigned pair: one replacement, the trail byte read on")
        << QByteArray("#\x85\x40")
        << QList<ClipEntry>{e(bad + u"@"_qs, {})};
    QTest::newRow("trail byte 0x5C is no backslash")
        << QByteArray("#\x95\x5c\r\n\x83\x5c")
        << QList<ClipEntry>{e(u"表"_qs, u"ソ"_qs)};
    QTest::newRow("NUL bytes are characters")
        << QByteArray("#A\0B\r\n\0", 7)
        << QList<ClipEntry>{e(QStringView(u"A\0B", 3).toString(), QString(1, QChar(0)))};
}

void TestHostileFiles::invalidShiftJis()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<ClipEntry>, expected);
    const auto result = readClipFile(bytes);
    QCOMPARE(result.status, clipfile::ReadResult::Status::Ok);
    QCOMPARE(result.entries, expected);
}

// The decoder converts large inputs piecewise; a character or a bad byte falling on the
// seam of two pieces must come out as anywhere else.
void TestHostileFiles::decodeAcrossBlocks_data()
{
    QTest::addColumn<int>("prefix");
    for (const int prefix : {65533, 65534, 65535, 65536, 65537, 131071, 131072})
        QTest::addRow("%d bytes before", prefix) << prefix;
}

void TestHostileFiles::decodeAcrossBlocks()
{
    QFETCH(int, prefix);
    // あ, a bad lead byte before CR LF, #, an ideographic space, a lead byte at the end.
    const QByteArray tail("\x82\xa0\x81\r\n#\x81\x40\x9f");
    const QString expectedTail = u"あ"_qs + QChar(QChar::ReplacementCharacter) + u"\r\n#\u3000"_qs
            + QChar(QChar::ReplacementCharacter);
    const QList<QByteArray> prefixes = {QByteArray(prefix, 'a'),
                                        QByteArray(prefix / 2, '\x82').replace("\x82", "\x82\xa0")};
    for (const QByteArray &before : prefixes) {
        const QString decoded = sjis::decode(before + tail);
        QCOMPARE(decoded.size(), before.size() / (before.startsWith('a') ? 1 : 2) + expectedTail.size());
        QCOMPARE(decoded.right(expectedTail.size()), expectedTail);
        QVERIFY(decoded.chopped(expectedTail.size()) == sjis::decode(before));
        QVERIFY(!decoded.chopped(expectedTail.size()).contains(QChar::ReplacementCharacter));
    }
}

void TestHostileFiles::startIniManyPaths()
{
    QStringList paths;
    QString text = QStringLiteral(" 14 \r\n 240 \r\n 2400 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 99999 \r\n");
    for (int i = 0; i < 100000; ++i) {
        paths.append(QStringLiteral("/home/山田/定型文 %1/file;%1.cdt").arg(i));
        text += paths.last() + u"\r\n"_qs;
    }
    const StartSettings settings = startini::parse(sjis::decode(sjisBytes(text)));
    QCOMPARE(settings.paths.size(), paths.size());
    QVERIFY(settings.paths == paths);
    QCOMPARE(settings.buttonNum, 14);
    // The index is kept as written; whether it names a file is decided once missing files
    // are dropped.
    QCOMPARE(settings.savedIndex, -1); // 99999 does not fit 16 bits
    QCOMPARE(startini::resolveIndex(30000, QList<bool>(100000, true)), 30000);

    const auto encoded = startini::encode(settings);
    QVERIFY(encoded.leftOut.isEmpty());
    QVERIFY(startini::parse(sjis::decode(encoded.bytes)) == settings);
}

void TestHostileFiles::startIniHugeLines()
{
    const QByteArray digits(MiB, '1');
    const QString longPath = u"/tmp/"_qs + QString(MiB, u'長');
    const QByteArray bytes = digits + "\r\n 300 \r\n" + digits + "\r\n 1 \r\n" + QByteArray(MiB, ' ')
            + "\r\n-" + digits + "\r\n" + digits + ".5\r\n 0 \r\n" + sjisBytes(longPath) + "\r\n";
    const StartSettings settings = startini::parse(sjis::decode(bytes));
    const StartSettings defaults;
    QCOMPARE(settings.buttonNum, defaults.buttonNum);
    QCOMPARE(settings.buttonHeight, 300);
    QCOMPARE(settings.buttonWidth, defaults.buttonWidth);
    QCOMPARE(settings.winZ, 1);
    QCOMPARE(settings.controlShowFlag, defaults.controlShowFlag);
    QCOMPARE(settings.top, defaults.top);   // beyond single precision
    QCOMPARE(settings.left, defaults.left);
    QCOMPARE(settings.savedIndex, 0);
    QCOMPARE(settings.paths, QStringList{longPath});
}

void TestHostileFiles::startIniOddPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("blanks inside") << u"/tmp/a b/c  d.cdt"_qs;
    QTest::newRow("leading blank") << u" /tmp/x.cdt"_qs;
    QTest::newRow("trailing blanks") << u"/tmp/x.cdt  "_qs;
    QTest::newRow("only blanks") << u"   "_qs;
    QTest::newRow("double quotes") << u"\"/tmp/quoted name.cdt\""_qs;
    QTest::newRow("single quote") << u"/tmp/it's.cdt"_qs;
    QTest::newRow("semicolons") << u"/tmp/a;b;;c.cdt;"_qs;
    QTest::newRow("comment-like") << u"; not a comment"_qs;
    QTest::newRow("section-like") << u"[Settings]"_qs;
    QTest::newRow("key-like") << u"Path=C:\\data.cdt"_qs;
    QTest::newRow("looks like a number") << u" 14 "_qs;
    QTest::newRow("tab and LF inside") << u"/tmp/a\tb\nc.cdt"_qs;
    QTest::newRow("Windows path, Japanese") << u"C:\\Users\\山田\\ﾃﾞｽｸﾄｯﾌﾟ\\定型文①.cdt"_qs;
}

void TestHostileFiles::startIniOddPaths()
{
    QFETCH(QString, path);
    StartSettings settings;
    settings.paths = {u"/first.cdt"_qs, path, path};
    settings.savedIndex = 1;

    const auto encoded = startini::encode(settings);
    QVERIFY(encoded.leftOut.isEmpty());
    const QString file = m_dir->filePath(u"Start.ini"_qs);
    QVERIFY(filesystem::writeWholeFile(file, encoded.bytes));
    const auto bytes = filesystem::readWholeFile(file);
    QVERIFY(bytes);
    const StartSettings read = startini::parse(sjis::decode(*bytes));
    QCOMPARE(read.paths, settings.paths);
    QCOMPARE(read.savedIndex, 1);
    QCOMPARE(read.buttonNum, settings.buttonNum);
}

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
