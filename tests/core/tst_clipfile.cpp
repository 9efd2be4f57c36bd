#include "files/clipfile.h"
#include "files/filewatch.h"
#include "files/knowncontent.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Entries = QList<ClipEntry>;
using Encoding = clipfile::Encoding;
using Bytes = std::optional<QByteArray>;
constexpr qsizetype MiB = 1024 * 1024;
const QByteArray bom("\xEF\xBB\xBF");
} // namespace

class TestClipFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(u"a.cdt"_qs);

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Entries>("entries");
        QTest::newRow("empty file") << QString() << Entries{};
        QTest::newRow("lines before the first header are ignored") << u"x\r\n#A\r\ny\r\n"_qs << Entries{{"A", "y"}};
        QTest::newRow("two entries") << u"#A\r\nx\r\ny\r\n#B\r\n\r\n"_qs << Entries{{"A", "x\r\ny"}, {"B", ""}};
        QTest::newRow("leading empty lines are lost, inner and trailing ones stay")
                << u"#A\r\n\r\n\r\nx\r\n\r\ny\r\n\r\n"_qs << Entries{{"A", "x\r\n\r\ny\r\n"}};
        QTest::newRow("only empty lines") << u"#A\r\n\r\n\r\n#B\r\nb"_qs << Entries{{"A", ""}, {"B", "b"}};
        QTest::newRow("lone CR ends a line, as does the file's end")
                << u"#A\rx\r\ny\rlast"_qs << Entries{{"A", "x\r\ny\r\nlast"}};
        QTest::newRow("bare LF file is one line") << u"#A\nx\n#B\n"_qs << Entries{{"A\nx\n#B\n", ""}};
        QTest::newRow("blank before # and full-width number sign are text")
                << u"#A\r\n #x\r\n＃y\r\n"_qs << Entries{{"A", " #x\r\n＃y"}};
        QString text;
        Entries thirty;
        for (int i = 0; i < 35; ++i) {
            text += u"#E%1\r\ntext %1\r\n"_qs.arg(i);
            if (i < clipfile::maxEntries)
                thirty.append({u"E%1"_qs.arg(i), u"text %1"_qs.arg(i)});
        }
        QTest::newRow("a 31st header and all after it are ignored") << text << thirty;
    }
    void parse()
    {
        QFETCH(QString, text);
        QTEST(clipfile::parse(text), "entries");
    }

    void writeAndRead()
    {
        QVERIFY(clipfile::write(m_path, {{"A", "x\r\ny"}, {"B", ""}, {"未設定", "¥〜"}}).ok());
        const QByteArray written("#A\r\nx\r\ny\r\n#B\r\n\r\n#\x96\xa2\x90\xdd\x92\xe8\r\n\x81\x8f\x81\x60\r\n");
        QCOMPARE(filesystem::readWholeFile(m_path), Bytes(written));
        const auto read = clipfile::read(m_path);
        QCOMPARE(read.status, clipfile::ReadResult::Status::Ok);
        QCOMPARE(read.entries, (Entries{{"A", "x\r\ny"}, {"B", ""}, {"未設定", "￥～"}}));

        // A refusal names the entry and leaves the file as it was, with no temporary beside it.
        const auto refused = clipfile::write(m_path, {{"fine", "ok"}, {"絵文字", "smile 😀"}});
        QCOMPARE(refused.status, clipfile::WriteResult::Status::Unencodable);
        QCOMPARE(refused.entryIndex, 1);
        QCOMPARE(filesystem::readWholeFile(m_path), Bytes(written));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"a.cdt"});
        const auto failed = clipfile::write(m_dir.filePath("no/such/folder/x.cdt"), {{"a", "b"}});
        QCOMPARE(failed.status, clipfile::WriteResult::Status::Failed);
        QVERIFY(!failed.error.isEmpty());

        QCOMPARE(clipfile::read(m_dir.filePath("none.cdt")).status, clipfile::ReadResult::Status::Missing);
        QFile locked(m_dir.filePath("locked.cdt"));
        QVERIFY(locked.open(QIODevice::WriteOnly));
        locked.close();
        locked.setPermissions(QFileDevice::WriteOwner);
        // Whoever may read every file (root in CI) still cannot read a process's memory at 0.
        const bool root = QFile(locked.fileName()).open(QIODevice::ReadOnly);
        const auto unreadable = clipfile::read(root ? u"/proc/self/mem"_qs : locked.fileName());
        QCOMPARE(unreadable.status, clipfile::ReadResult::Status::Unreadable);
        QVERIFY(!unreadable.error.isEmpty());
    }

    void detectsTheEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Encoding>("encoding");
        QTest::newRow("ASCII") << QByteArray("#a\r\nb\\c~\r\n") << Encoding::ShiftJis;
        QTest::newRow("Shift-JIS kanji and kana")
                << sjis::encode(u"#未設定\r\nお世話になっております。ﾎﾞﾀﾝ"_qs).value() << Encoding::ShiftJis;
        // These bytes are valid UTF-8 too (н, è, ýā@).
        QTest::newRow("half-width katakana that is also UTF-8")
                << sjis::encode(u"#ﾐｽ\r\nﾃｨ 1\r\nﾃｽﾄ　\r\n"_qs).value() << Encoding::ShiftJis;
        QTest::newRow("UTF-8 Japanese") << QByteArray("#挨拶\r\nお世話になっております。") << Encoding::Utf8;
        QTest::newRow("UTF-8 accent after a letter") << QByteArray("#café\r\n") << Encoding::Utf8;
        QTest::newRow("UTF-8 accent before a letter") << QByteArray("#über\r\n") << Encoding::Utf8;
        QTest::newRow("UTF-8 that Shift-JIS cannot read") << QByteArray("#Ä\r\n") << Encoding::Utf8;
        QTest::newRow("byte order mark") << bom + "#a\r\n" << Encoding::Utf8WithBom;
    }
    void detectsTheEncoding()
    {
        QFETCH(QByteArray, bytes);
        QTEST(clipfile::detectEncoding(bytes), "encoding");
    }

    void utf8FileIsWrittenBackAsUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("byte order mark kept; nothing Shift-JIS lacks is refused")
                << bom + "#〜 😀\r\ncafé\r\n" << bom + "#〜 😀\r\ncafé\r\n";
        QTest::newRow("no byte order mark; lines end in CR LF") << QByteArray("#日本語\rx\ny") << QByteArray("#日本語\r\nx\ny\r\n");
        // Left without its Japanese line, "©" alone would read back as half-width katakana.
        QTest::newRow("a mark where the rest would read as Shift-JIS") << QByteArray("あ\r\n#©\r\n") << bom + "#©\r\n\r\n";
    }
    void utf8FileIsWrittenBackAsUtf8()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(filesystem::writeWholeFile(m_path, bytes));
        const auto read = clipfile::read(m_path);
        QVERIFY(clipfile::write(m_path, read.entries, read.encoding).ok());
        QTEST(filesystem::readWholeFile(m_path).value(), "written");
    }

    // Files as they arrive from outside: huge, binary, with far too many entries.
    void hugeFilesLoad_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Entries>("expected");
        const QString kana(25 * MiB, u'あ');
        QTest::newRow("50 MiB text line, no line end") << "#A\r\n" + sjis::encode(kana).value() << Entries{{"A", kana}};
        // Each bad byte restarts the decoder: that must not cost the square of the size.
        QTest::newRow("4 MiB of bad bytes") << QByteArray(4 * MiB, '\xa0') << Entries{};
    }
    void hugeFilesLoad()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(filesystem::writeWholeFile(m_path, bytes));
        const auto result = clipfile::read(m_path);
        QCOMPARE(result.status, clipfile::ReadResult::Status::Ok);
        QFETCH(Entries, expected);
        QVERIFY(result.entries == expected); // not QCOMPARE: a failure must not print 50 MiB
    }

    void overwritingUnseenContentAsks_data()
    {
        // The program read "#x" from a.cdt; the target is that file or another, on disk now
        // with the bytes given, or gone.
        QTest::addColumn<QString>("target");
        QTest::addColumn<Bytes>("onDisk");
        QTest::addColumn<bool>("asks");
        QTest::newRow("as read") << "a.cdt" << Bytes("#x\r\n") << false;
        QTest::newRow("changed since") << "a.cdt" << Bytes("#y\r\n") << true;
        QTest::newRow("gone since") << "a.cdt" << Bytes() << false;
        QTest::newRow("emptied since") << "a.cdt" << Bytes("") << false;
        QTest::newRow("another file with content") << "b.cdt" << Bytes("#x\r\n") << true;
    }
    void overwritingUnseenContentAsks()
    {
        QFETCH(QString, target);
        QFETCH(Bytes, onDisk);
        QTEST(KnownContent({u"a.cdt"_qs, QByteArray("#x\r\n")}).wouldOverwriteUnseen(target, onDisk), "asks");
    }

    void watchSurvivesReplaceByRename()
    {
        const QString path = m_dir.filePath("watched.cdt");
        QVERIFY(filesystem::writeWholeFile(path, "#a\r\n"));
        FileWatch watch;
        watch.setPath(path);
        QSignalSpy changed(&watch, &FileWatch::changed);
        // An editor's save: a new file renamed over the old one. Twice, since the first rename
        // ends the watch on the file the program started with.
        for (const QByteArray &bytes : {QByteArray("#b\r\n"), QByteArray("#c\r\n")}) {
            QVERIFY(filesystem::writeWholeFile(path, bytes));
            QVERIFY(changed.wait(1000));
            QTest::qWait(300); // one save, one report
            QCOMPARE(changed.size(), 1);
            changed.clear();
        }
        QFile inPlace(path);
        QVERIFY(inPlace.open(QIODevice::Append) && inPlace.write("#d\r\n") == 4);
        inPlace.close();
        QVERIFY(changed.wait(1000));
        // A file no longer in use is no longer watched.
        watch.setPath(QString());
        changed.clear();
        QVERIFY(filesystem::writeWholeFile(path, "#e\r\n"));
        QTest::qWait(300);
        QCOMPARE(changed.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestClipFile)
#include "tst_clipfile.moc"
