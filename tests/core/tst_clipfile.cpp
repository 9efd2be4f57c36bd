#include "files/clipfile.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Entries = QList<ClipEntry>;
using Encoding = clipfile::Encoding;
const QByteArray bom("\xEF\xBB\xBF");

QByteArray sjisBytes(const QString &text)
{
    return sjis::encode(text).value();
}
} // namespace

class TestClipFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void writesTheDocumentedBytes();
    void failedWriteReportsAndKeepsFile();
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
    QTest::newRow("no header") << u"a\r\nb\r\n"_qs << Entries{};
    QTest::newRow("lines before the first header are ignored") << u"x\r\n#A\r\ny\r\n"_qs << Entries{{"A", "y"}};
    QTest::newRow("two entries") << u"#A\r\nx\r\ny\r\n#B\r\n\r\n"_qs << Entries{{"A", "x\r\ny"}, {"B", ""}};
    QTest::newRow("header only #") << u"#\r\n"_qs << Entries{{"", ""}};
    QTest::newRow("leading empty lines are lost, inner and trailing ones stay")
            << u"#A\r\n\r\n\r\nx\r\n\r\ny\r\n\r\n"_qs << Entries{{"A", "x\r\n\r\ny\r\n"}};
    QTest::newRow("only empty lines") << u"#A\r\n\r\n\r\n#B\r\nb"_qs << Entries{{"A", ""}, {"B", "b"}};
    QTest::newRow("lone CR ends a line") << u"#A\rx\ry"_qs << Entries{{"A", "x\r\ny"}};
    QTest::newRow("lone CR after text lines") << u"#A\r\nx\ry\r\n#B"_qs << Entries{{"A", "x\r\ny"}, {"B", ""}};
    QTest::newRow("last line without line end") << u"#A\r\nlast"_qs << Entries{{"A", "last"}};
    QTest::newRow("bare LF file is one line") << u"#A\nx\n#B\n"_qs << Entries{{"A\nx\n#B\n", ""}};
    QTest::newRow("blank before # and full-width number sign are text")
            << u"#A\r\n #x\r\n＃y\r\n"_qs << Entries{{"A", " #x\r\n＃y"}};
    QTest::newRow("text line starting with # splits the entry")
            << u"#A\r\none\r\n#two\r\n"_qs << Entries{{"A", "one"}, {"two", ""}};
    QTest::newRow("accelerator kept") << u"#&Hello\r\n"_qs << Entries{{"&Hello", ""}};
    QString text;
    Entries thirty;
    for (int i = 0; i < 35; ++i) {
        text += u"#E%1\r\ntext %1\r\n"_qs.arg(i);
        if (i < clipfile::maxEntries)
            thirty.append({u"E%1"_qs.arg(i), u"text %1"_qs.arg(i)});
    }
    QTest::newRow("a 31st header and all after it are ignored") << text << thirty;
}

void TestClipFile::parse()
{
    QFETCH(QString, text);
    QFETCH(Entries, entries);
    QCOMPARE(clipfile::parse(text), entries);
}

void TestClipFile::writesTheDocumentedBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.cdt");
    QVERIFY(clipfile::write(path, {{"A", "x\r\ny"}, {"B", ""}, {"未設定", "¥〜"}}).ok());
    QCOMPARE(filesystem::readWholeFile(path),
             QByteArray("#A\r\nx\r\ny\r\n#B\r\n\r\n#\x96\xa2\x90\xdd\x92\xe8\r\n\x81\x8f\x81\x60\r\n"));
    const auto read = clipfile::read(path);
    QCOMPARE(read.status, clipfile::ReadResult::Status::Ok);
    QCOMPARE(read.entries, (Entries{{"A", "x\r\ny"}, {"B", ""}, {"未設定", "￥～"}}));
}

void TestClipFile::failedWriteReportsAndKeepsFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.cdt");
    QVERIFY(clipfile::write(path, {{"old", "text"}}).ok());
    const auto before = filesystem::readWholeFile(path);

    const auto refused = clipfile::write(path, {{"fine", "ok"}, {"絵文字", "smile 😀"}});
    QCOMPARE(refused.status, clipfile::WriteResult::Status::Unencodable);
    QCOMPARE(refused.entryIndex, 1);
    QCOMPARE(filesystem::readWholeFile(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.cdt"});

    const auto failed = clipfile::write(dir.filePath("no/such/folder/x.cdt"), {{"a", "b"}});
    QCOMPARE(failed.status, clipfile::WriteResult::Status::Failed);
    QVERIFY(!failed.error.isEmpty());
}

void TestClipFile::readTellsMissingFromUnreadable()
{
    QTemporaryDir dir;
    QCOMPARE(clipfile::read(dir.filePath("none.cdt")).status, clipfile::ReadResult::Status::Missing);
    QFile locked(dir.filePath("locked.cdt"));
    QVERIFY(locked.open(QIODevice::WriteOnly));
    locked.close();
    locked.setPermissions(QFileDevice::WriteOwner);
    // Whoever may read every file (root in CI) still cannot read a process's memory at 0.
    const bool root = QFile(locked.fileName()).open(QIODevice::ReadOnly);
    const auto read = clipfile::read(root ? u"/proc/self/mem"_qs : locked.fileName());
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
    QTest::newRow("byte order mark") << bom + "#a\r\n" << Encoding::Utf8WithBom;
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
    QTest::newRow("byte order mark kept; nothing Shift-JIS lacks is refused")
            << bom + "#〜 😀\r\ncafé\r\n" << bom + "#〜 😀\r\ncafé\r\n";
    QTest::newRow("no byte order mark; lines end in CR LF")
            << QByteArray("#日本語\rx\ny") << QByteArray("#日本語\r\nx\ny\r\n");
    // Left without its Japanese line, "©" alone would read back as half-width katakana.
    QTest::newRow("a mark where the rest would read as Shift-JIS") << QByteArray("あ\r\n#©\r\n") << bom + "#©\r\n\r\n";
}

void TestClipFile::utf8FileIsWrittenBackAsUtf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, written);
    QTemporaryDir dir;
    const QString path = dir.filePath("u.cdt");
    QVERIFY(filesystem::writeWholeFile(path, bytes));
    const auto read = clipfile::read(path);
    QVERIFY(clipfile::write(path, read.entries, read.encoding).ok());
    QCOMPARE(filesystem::readWholeFile(path), std::optional<QByteArray>(written));
}

QTEST_GUILESS_MAIN(TestClipFile)
#include "tst_clipfile.moc"
