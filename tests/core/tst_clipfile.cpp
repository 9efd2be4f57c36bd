#include "files/clipfile.h"
#include "platform/sjiscodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Entries = QList<ClipEntry>;
using Encoding = clipfile::Encoding;

QByteArray sjisBytes(const QString &text)
{
    return sjis::encode(text).value();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestClipFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void stopsAtThirtyEntries();
    void writesTheDocumentedBytes();
    void textsSurviveRoundTrip_data();
    void textsSurviveRoundTrip();
    void writeRefusesTextShiftJisCannotHoldAndKeepsFile();
    void writeFailureIsReported();
    void readTellsMissingFromUnreadable();
    void detectsTheEncoding_data();
    void detectsTheEncoding();
    void utf8FileIsWrittenBackAsUtf8_data();
    void utf8FileIsWrittenBackAsUtf8();
};

void TestClipFile::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Entries>("entries");
    QTest::newRow("empty file") << QString() << Entries{};
    QTest::newRow("no header") << QStringLiteral("a\r\nb\r\n") << Entries{};
    QTest::newRow("lines before the first header are ignored")
            << QStringLiteral("x\r\n#A\r\ny\r\n") << Entries{{"A", "y"}};
    QTest::newRow("two entries") << QStringLiteral("#A\r\nx\r\ny\r\n#B\r\n\r\n")
                                 << Entries{{"A", "x\r\ny"}, {"B", ""}};
    QTest::newRow("header only #") << QStringLiteral("#\r\n") << Entries{{"", ""}};
    QTest::newRow("leading empty lines are lost, inner and trailing ones stay")
            << QStringLiteral("#A\r\n\r\n\r\nx\r\n\r\ny\r\n\r\n")
            << Entries{{"A", "x\r\n\r\ny\r\n"}};
    QTest::newRow("lone CR ends a line") << QStringLiteral("#A\rx\ry") << Entries{{"A", "x\r\ny"}};
    QTest::newRow("last line without line end") << QStringLiteral("#A\r\nlast")
                                                << Entries{{"A", "last"}};
    QTest::newRow("bare LF file is one line")
            << QStringLiteral("#A\nx\n#B\n") << Entries{{"A\nx\n#B\n", ""}};
    QTest::newRow("blank before # and full-width number sign are text")
            << QStringLiteral("#A\r\n #x\r\n＃y\r\n") << Entries{{"A", " #x\r\n＃y"}};
    QTest::newRow("text line starting with # splits the entry")
            << QStringLiteral("#A\r\none\r\n#two\r\n") << Entries{{"A", "one"}, {"two", ""}};
    QTest::newRow("accelerator kept") << QStringLiteral("#&Hello\r\n") << Entries{{"&Hello", ""}};
}

void TestClipFile::parse()
{
    QFETCH(QString, text);
    QFETCH(Entries, entries);
    QCOMPARE(clipfile::parse(text), entries);
}

void TestClipFile::stopsAtThirtyEntries()
{
    QString text;
    for (int i = 0; i < 35; ++i)
        text += QStringLiteral("#E%1\r\ntext %1\r\n").arg(i);
    const Entries entries = clipfile::parse(text);
    QCOMPARE(entries.size(), 30);
    QCOMPARE(entries.last(), (ClipEntry{"E29", "text 29"}));
}

void TestClipFile::writesTheDocumentedBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.cdt");
    const auto result = clipfile::write(path, {{"A", "x\r\ny"}, {"B", ""}, {"未設定", ""}});
    QVERIFY(result.ok());
    QCOMPARE(fileBytes(path), QByteArray("#A\r\nx\r\ny\r\n#B\r\n\r\n#\x96\xa2\x90\xdd\x92\xe8\r\n\r\n"));
}

void TestClipFile::textsSurviveRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("multi-line") << QStringLiteral("一行目\r\n二行目") << QStringLiteral("一行目\r\n二行目");
    QTest::newRow("ends with CR LF") << QStringLiteral("x\r\n") << QStringLiteral("x\r\n");
    QTest::newRow("begins with CR LF") << QStringLiteral("\r\nx") << QStringLiteral("x");
    QTest::newRow("only line breaks") << QStringLiteral("\r\n\r\n") << QString();
    QTest::newRow("half-width katakana") << QStringLiteral("ｱｲｳ") << QStringLiteral("ｱｲｳ");
}

void TestClipFile::textsSurviveRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    QTemporaryDir dir;
    const QString path = dir.filePath("t.cdt");
    QVERIFY(clipfile::write(path, {{"cap", text}, {"next", "n"}}).ok());
    const auto read = clipfile::read(path);
    QCOMPARE(read.status, clipfile::ReadResult::Status::Ok);
    QCOMPARE(read.entries, (Entries{{"cap", readBack}, {"next", "n"}}));
}

void TestClipFile::writeRefusesTextShiftJisCannotHoldAndKeepsFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.cdt");
    QVERIFY(clipfile::write(path, {{"old", "text"}}).ok());
    const QByteArray before = fileBytes(path);

    const auto result = clipfile::write(path, {{"fine", "ok"}, {"絵文字", "smile 😀"}});
    QCOMPARE(result.status, clipfile::WriteResult::Status::Unencodable);
    QCOMPARE(result.entryIndex, 1);
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.cdt"});
}

void TestClipFile::writeFailureIsReported()
{
    QTemporaryDir dir;
    const auto result = clipfile::write(dir.filePath("no/such/folder/x.cdt"), {{"a", "b"}});
    QCOMPARE(result.status, clipfile::WriteResult::Status::Failed);
    QVERIFY(!result.error.isEmpty());
}

void TestClipFile::readTellsMissingFromUnreadable()
{
    QTemporaryDir dir;
    QCOMPARE(clipfile::read(dir.filePath("none.cdt")).status, clipfile::ReadResult::Status::Missing);
    QFile locked(dir.filePath("locked.cdt"));
    QVERIFY(locked.open(QIODevice::WriteOnly));
    locked.write("#a\r\n");
    locked.close();
    locked.setPermissions(QFileDevice::WriteOwner);
    // Whoever may read every file (root in CI) still cannot read a process's memory at 0.
    const QString unreadable = QFile(locked.fileName()).open(QIODevice::ReadOnly)
            ? QStringLiteral("/proc/self/mem")
            : locked.fileName();
    const auto read = clipfile::read(unreadable);
    QCOMPARE(read.status, clipfile::ReadResult::Status::Unreadable);
    QVERIFY(!read.error.isEmpty());
}

void TestClipFile::detectsTheEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::newRow("empty") << QByteArray() << Encoding::ShiftJis;
    QTest::newRow("ASCII") << QByteArray("#a\r\nb\\c~\r\n") << Encoding::ShiftJis;
    QTest::newRow("Shift-JIS kanji and kana")
            << sjisBytes("#未設定\r\nお世話になっております。\r\n9:00～17:00") << Encoding::ShiftJis;
    QTest::newRow("Shift-JIS half-width katakana")
            << sjisBytes("#ﾎﾞﾀﾝ\r\nﾌﾟﾛﾊﾟﾃｨ ｸﾘｯﾌﾟﾎﾞｰﾄﾞ\r\n") << Encoding::ShiftJis;
    // These bytes are valid UTF-8 too (н, è, ýā@).
    QTest::newRow("half-width katakana that is also UTF-8")
            << sjisBytes("#ﾐｽ\r\nﾃｨ 1\r\nﾃｽﾄ　\r\n") << Encoding::ShiftJis;
    QTest::newRow("UTF-8 Japanese") << QByteArray("#挨拶\r\nお世話になっております。") << Encoding::Utf8;
    QTest::newRow("UTF-8 wave dash") << QByteArray("9:00〜17:00") << Encoding::Utf8;
    QTest::newRow("UTF-8 accented words") << QByteArray("#café\r\nüber\r\n") << Encoding::Utf8;
    QTest::newRow("UTF-8 that Shift-JIS cannot read") << QByteArray("#Ä\r\n") << Encoding::Utf8;
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF#a\r\n") << Encoding::Utf8WithBom;
}

void TestClipFile::detectsTheEncoding()
{
    QFETCH(QByteArray, bytes);
    QTEST(clipfile::detectEncoding(bytes), "encoding");
}

void TestClipFile::utf8FileIsWrittenBackAsUtf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("written");
    const QByteArray bom("\xEF\xBB\xBF");
    QTest::newRow("byte order mark kept; nothing Shift-JIS lacks is refused")
            << bom + "#〜 😀\r\ncafé\r\n" << bom + "#〜 😀\r\ncafé\r\n";
    QTest::newRow("no byte order mark; lines end in CR LF")
            << QByteArray("#日本語\rx\ny") << QByteArray("#日本語\r\nx\ny\r\n");
    // Left without its Japanese line, "©" alone would read back as half-width katakana.
    QTest::newRow("a mark where the rest would read as Shift-JIS")
            << QByteArray("あ\r\n#©\r\n") << bom + "#©\r\n\r\n";
}

void TestClipFile::utf8FileIsWrittenBackAsUtf8()
{
    QFETCH(QByteArray, bytes);
    const Encoding encoding = clipfile::detectEncoding(bytes);
    QByteArray written;
    QVERIFY(clipfile::encode(clipfile::parse(clipfile::decode(bytes, encoding)), &written, encoding).ok());
    QTEST(written, "written");
}

QTEST_GUILESS_MAIN(TestClipFile)
#include "tst_clipfile.moc"
