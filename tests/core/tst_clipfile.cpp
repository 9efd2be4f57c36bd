#include "datatable.h"

#include "files/clipfile.h"
#include "files/filewatch.h"
#include "files/knowncontent.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <limits>
#include <thread>

using namespace Qt::StringLiterals;

namespace {
using Entries = QList<ClipEntry>;
using Encoding = clipfile::Encoding;
using Bytes = std::optional<QByteArray>;
constexpr qsizetype MiB = 1024 * 1024;
const QByteArray bom("\xEF\xBB\xBF");
const QString bad(QChar::ReplacementCharacter);
const QString filler(3 * sjis::encodePiece, u'a');
const int border = int(sjis::encodePiece);
const QByteArray journalOld("#old entry\r\nabc\r\n"), journalNew("#new\r\n"); ///< an interrupted save's two contents

/** Every line names its version (of three): a file made of two, or cut short, is none. */
QList<ClipEntry> version(int v)
{
    QList<ClipEntry> entries;
    for (int i = 0; i < clipfile::maxEntries; ++i)
        entries.append({u"版%1の%2"_s.arg(v % 3).arg(i), u"版%1 項目%2 いろはにほへと ｲﾛﾊ 漢字\r\n"_s.arg(v % 3).arg(i).repeated(2000)});
    return entries;
}
} // namespace

class TestClipFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(u"a.cdt"_s);

private slots:
    void parse_data()
    {
        columns<QString, Entries>({"text", "entries"});
        QTest::newRow("empty file") << QString() << Entries{};
        QTest::newRow("lines before the first header are ignored") << u"x\r\n#A\r\ny\r\n"_s << Entries{{"A", "y"}};
        QTest::newRow("two entries") << u"#A\r\nx\r\ny\r\n#B\r\n\r\n"_s << Entries{{"A", "x\r\ny"}, {"B", ""}};
        QTest::newRow("leading empty lines are lost, inner and trailing ones stay")
                << u"#A\r\n\r\n\r\nx\r\n\r\ny\r\n\r\n"_s << Entries{{"A", "x\r\n\r\ny\r\n"}};
        QTest::newRow("only empty lines") << u"#A\r\n\r\n\r\n#B\r\nb"_s << Entries{{"A", ""}, {"B", "b"}};
        QTest::newRow("lone CR ends a line, as does the file's end")
                << u"#A\rx\r\ny\rlast"_s << Entries{{"A", "x\r\ny\r\nlast"}};
        QTest::newRow("LF, CR LF and lone CR line ends mixed")
                << u"#A\nx\r\ny\n\n#B\rb\n\r#C\n\n\n"_s << Entries{{"A", "x\r\ny\r\n"}, {"B", "b\r\n"}, {"C", ""}};
        QTest::newRow("LF file") << u"#A\n\nx\n\ny\n#B\nz"_s << Entries{{"A", "x\r\n\r\ny"}, {"B", "z"}};
        QTest::newRow("blank before # and full-width number sign are text")
                << u"#A\r\n #x\r\n＃y\r\n"_s << Entries{{"A", " #x\r\n＃y"}};
        QString text;
        Entries thirty;
        for (int i = 0; i < 35; ++i) {
            text += u"#E%1\r\ntext %1\r\n"_s.arg(i);
            if (i < clipfile::maxEntries)
                thirty.append({u"E%1"_s.arg(i), u"text %1"_s.arg(i)});
        }
        QTest::newRow("a 31st header and all after it are ignored") << text << thirty;
        const QString kana(25 * MiB, u'あ');
        QTest::newRow("a text line of 25 Mi characters") << u"#A\r\n"_s + kana << Entries{{"A", kana}};
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(Entries, entries);
        QCOMPARE(clipfile::parse(text), entries);
        // A file's bytes are read entry by entry, a piece at a time: pieces of any size give the same entries.
        for (const qsizetype piece : {qsizetype(0), qsizetype(16), qsizetype(17), qsizetype(MiB)}) {
            QCOMPARE(clipfile::parseBytes(text.toUtf8(), piece).entries, entries);
            if (const auto shiftJis = sjis::encode(text))
                QCOMPARE(clipfile::parseBytes(*shiftJis, piece).entries, entries);
        }
        // So is a file, and its digest is that of its bytes however they were read.
        const QByteArray bytes = text.toUtf8();
        QVERIFY(filesystem::writeWholeFile(m_path, bytes));
        const auto read = clipfile::read(m_path, std::numeric_limits<qint64>::max());
        QCOMPARE(read.entries, entries);
        QCOMPARE(read.digest, Digester::of(bytes));
    }

    void writeAndRead()
    {
        QVERIFY(clipfile::write(m_path, {{"A", "x\r\ny"}, {"B", ""}, {"未設定", "¥〜"}}).ok());
        const QByteArray written("#A\r\nx\r\ny\r\n#B\r\n\r\n#\x96\xa2\x90\xdd\x92\xe8\r\n\x81\x8f\x81\x60\r\n");
        QCOMPARE(filesystem::readWholeFile(m_path), Bytes(written));
        const auto read = clipfile::read(m_path);
        QCOMPARE(read.status, clipfile::ReadResult::Status::Ok);
        QCOMPARE(read.entries, (Entries{{"A", "x\r\ny"}, {"B", ""}, {"未設定", "￥～"}}));

        // A refusal names the entry and leaves the file as it was.
        const auto refused = clipfile::write(m_path, {{"fine", "ok"}, {"絵文字", "smile 😀"}});
        QCOMPARE(refused.status, clipfile::WriteResult::Status::Unencodable);
        QCOMPARE(refused.entryIndex, 1);
        QCOMPARE(filesystem::readWholeFile(m_path), Bytes(written));
    }

    // A file another program saves while it is read: it says one size and holds another
    // by the time it is read, its pieces come in any lengths, its line ends change between
    // them. Whatever comes, the entries and the digest are those of the bytes that came.
    // Pieces: "FAIL" a read the system refuses, "ENDLESS" bytes for ever.
    void readWhileChanging_data()
    {
        // status: clipfile::ReadResult::Status
        columns<qint64, QByteArrayList, qint64, int>({"claimed", "pieces", "limit", "status"});
        using List = QByteArrayList;
        constexpr int ok = 0, unreadable = 2, tooLarge = 3;
        QTest::newRow("shrunk since its size was taken") << qint64(1000) << List{"#a\r\nxy"} << qint64(MiB) << ok;
        QTest::newRow("emptied since") << qint64(1000) << List{} << qint64(MiB) << ok;
        QTest::newRow("grown since") << qint64(4) << List{"#a\r\n", "x\r\n#b\r\ny"} << qint64(MiB) << ok;
        QTest::newRow("line ends changed between pieces") << qint64(12) << List{"#a\r\nx\r", "y\nz\n#b\rc\r\n"} << qint64(MiB) << ok;
        QTest::newRow("a character cut between pieces") << qint64(9) << List{"#\x96", "\xa2\r\n\x82", "\xa0"} << qint64(MiB) << ok;
        // Megabytes of text whose line ends went from CR LF to LF halfway: the texts end up
        // longer than the first look at the file's size would say.
        const QByteArray crLf = "#a\r\n" + QByteArray("\x82\xa0\r\n").repeated(MiB / 2);
        const QByteArray lf = QByteArray("\x82\xa0\n").repeated(MiB) + "#b\r\n\r\n";
        QTest::newRow("megabytes, line ends changed halfway") << qint64(MiB) << List{crLf, lf} << qint64(8 * MiB) << ok;
        QTest::newRow("grows past the limit while read") << qint64(8) << List{"#a\r\nxyz", "more"} << qint64(10) << tooLarge;
        QTest::newRow("endless") << qint64(0) << List{"ENDLESS"} << qint64(MiB) << tooLarge;
        QTest::newRow("as large as the limit: read") << qint64(10) << List{"#a\r\nxyzw\r\n"} << qint64(10) << ok;
        QTest::newRow("larger than the limit: not read") << qint64(11) << List{"FAIL"} << qint64(10) << tooLarge;
        QTest::newRow("a read refused midway") << qint64(100) << List{"#a\r\n", "FAIL"} << qint64(MiB) << unreadable;
    }
    void readWhileChanging()
    {
        struct Changing final : clipfile::ByteSource
        {
            qint64 claimed = fetched<qint64>("claimed");
            QByteArrayList pieces = fetched<QByteArrayList>("pieces");
            QByteArray delivered;
            qint64 size() override { return claimed; }
            qint64 read(char *into, qint64 most) override
            {
                if (pieces.isEmpty())
                    return 0;
                if (pieces.first() == "FAIL")
                    return -1;
                QByteArray &piece = pieces.first();
                const bool endless = piece == "ENDLESS";
                const qint64 n = endless ? most : std::min<qint64>(most, piece.size());
                for (qint64 i = 0; i < n; ++i)
                    into[i] = endless ? '#' : piece[qsizetype(i)];
                delivered.append(into, qsizetype(n));
                if (!endless && (piece = piece.sliced(qsizetype(n))).isEmpty())
                    pieces.removeFirst();
                return n;
            }
            QString errorString() const override { return u"Input/output error"_s; }
        } source;
        const clipfile::ReadResult read = clipfile::readFrom(source, fetched<qint64>("limit"));
        QTEST(int(read.status), "status");
        if (read.status == clipfile::ReadResult::Status::Unreadable)
            QCOMPARE(read.error, u"Input/output error"_s);
        QVERIFY(read.status == clipfile::ReadResult::Status::Ok || read.entries.isEmpty());
        if (read.status != clipfile::ReadResult::Status::Ok)
            return;
        const clipfile::ReadResult whole = clipfile::parseBytes(source.delivered);
        QCOMPARE(read.entries, whole.entries);
        QCOMPARE(read.encoding, whole.encoding);
        QCOMPARE(read.lineEnd, whole.lineEnd);
        QCOMPARE(read.digest, Digester::of(source.delivered));
    }

    // Another program saving the file in place (truncated, then written, as cp and editors
    // do) over and over while it is read: every read ends, and once the saves stop the read
    // gives the file as it is.
    void readWhileSavedInPlace()
    {
        QList<QByteArray> versions(3);
        for (int v = 0; v < 3; ++v) // other sizes and other line ends
            QVERIFY(clipfile::encode(version(v).mid(0, 10 * (v + 1)), &versions[v], Encoding::ShiftJis,
                                     v == 1 ? clipfile::LineEnd::Lf : clipfile::LineEnd::CrLf).ok());
        QVERIFY(filesystem::writeWholeFile(m_path, versions[0]));
        std::atomic<bool> stop = false;
        std::thread other([&] {
            for (int i = 0; !stop; ++i) {
                QFile file(m_path);
                if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                    for (qsizetype at = 0; at < versions[i % 3].size(); at += 4096)
                        file.write(versions[i % 3].mid(at, 4096));
            }
        });
        for (int i = 0; i < 100; ++i)
            QCOMPARE(clipfile::read(m_path).status, clipfile::ReadResult::Status::Ok);
        stop = true;
        other.join();
        const QByteArray now = filesystem::readWholeFile(m_path).value();
        QCOMPARE(clipfile::read(m_path).entries, clipfile::parseBytes(now).entries);
    }

    // A save goes where the user may write: beside the file and renamed over it, or in
    // place where the folder takes no new file. A write the system refuses leaves the file
    // as it was, no temporary beside it, and says why; a file size limit fails a write as a
    // full disk or quota does. Root writes into any folder: those rows run as nobody.
    void save_data()
    {
        // folder: "full" (room for `limit` bytes a file), "read-only", "vanished" or "open"; fileWritable: by
        // anyone; size: of the new content; reason: errno, 0 saved.
        columns<QString, bool, int, int, int>({"folder", "fileWritable", "limit", "size", "reason"});
        QTest::newRow("small file, full disk (saved only when committed)") << "full" << false << 10 << 100 << EFBIG;
        QTest::newRow("large file, full disk") << "full" << false << 20000 << 70000 << EFBIG;
        QTest::newRow("not a byte fits") << "full" << false << 0 << 100 << EFBIG;
        QTest::newRow("read-only folder, read-only file") << "read-only" << false << 0 << 100 << EACCES;
        QTest::newRow("vanished folder") << "vanished" << false << 0 << 100 << ENOENT;
        QTest::newRow("read-only folder, writable file: in place") << "read-only" << true << 0 << 100 << 0;
        QTest::newRow("in place, smaller") << "read-only" << true << 0 << 3 << 0;
        QTest::newRow("in place, full disk: the old file whole") << "read-only" << true << 50 << 100 << EFBIG;
    }
    void save()
    {
        QFETCH(QString, folder);
        QFETCH(int, limit);
        QFETCH(int, reason);
        QTemporaryDir dir;
        const QString in = dir.filePath(u"in"_s), path = in + u"/a.cdt"_s;
        const QByteArray old("#old\r\n");
        QVERIFY(QDir().mkdir(in) && filesystem::writeWholeFile(path, old));
        qputenv("XDG_CACHE_HOME", dir.filePath(u"cache"_s).toLocal8Bit());
        QVERIFY(QDir().mkpath(dir.filePath(u"cache"_s)));
        const bool asNobody = folder == u"read-only" && geteuid() == 0;
        if (asNobody && !QFile::setPermissions(dir.filePath(u"cache"_s), QFile::Permissions(0x7777)))
            QSKIP("no cache folder nobody may write to");
        // nobody keeps root's group when only the user is changed
        QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeGroup | QFile::ExeOther);
        if (fetched<bool>("fileWritable"))
            QVERIFY(QFile::setPermissions(path, QFile::Permissions(0x6666)));
        if (folder == u"read-only")
            QVERIFY(QFile::setPermissions(in, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
        if (folder == u"vanished")
            QVERIFY(QDir(in).removeRecursively());
        std::signal(SIGXFSZ, SIG_IGN); // else the size limit ends the process
        rlimit old_{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old_), 0);
        const rlimit lowered{limit > 0 || folder == u"full" ? rlim_t(limit) : old_.rlim_cur, old_.rlim_max};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &lowered) == 0 && (!asNobody || seteuid(65534) == 0));
        QString error;
        const QByteArray bytes(fetched<int>("size"), 'x');
        const bool written = filesystem::saveFile(path, bytes, &error);
        QVERIFY((!asNobody || seteuid(0) == 0) && setrlimit(RLIMIT_FSIZE, &old_) == 0);
        QCOMPARE(written, reason == 0);
        QCOMPARE(error, reason ? qt_error_string(reason) : QString());
        const bool gone = folder == u"vanished";
        QCOMPARE(filesystem::readWholeFile(path), gone ? Bytes() : Bytes(reason ? old : bytes));
        QCOMPARE(QDir(in).entryList(QDir::Files | QDir::Hidden), gone ? QStringList() : QStringList{"a.cdt"});
        QCOMPARE(QDir(filesystem::journalFolder()).entryList(QDir::Files), QStringList()); // no journal left
        QFile::setPermissions(in, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Every save keeps what the file is besides its bytes: its owner, its mode, its links.
    void saveKeepsFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a symbolic link stays one") << "symlink";
        QTest::newRow("a hard link stays shared") << "hardlink";
        QTest::newRow("mode kept") << "mode";
        QTest::newRow("owner kept") << "owner";
        QTest::newRow("group kept") << "group";
    }
    void saveKeepsFile()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString real = dir.filePath(u"team.cdt"_s), name = dir.filePath(u"a.cdt"_s);
        QVERIFY(filesystem::writeWholeFile(real, "#old\r\n"));
        qputenv("XDG_CACHE_HOME", dir.filePath(u"cache"_s).toLocal8Bit());
        if (kind == u"symlink")
            QVERIFY(QFile::link(real, name));
        if (kind == u"hardlink")
            QCOMPARE(::link(QFile::encodeName(real).constData(), QFile::encodeName(name).constData()), 0);
        if (kind == u"mode")
            QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        if ((kind == u"owner" || kind == u"group")
            && (geteuid() != 0 || ::chown(QFile::encodeName(real).constData(), kind == u"owner" ? 65534 : uid_t(-1), 65534) != 0))
            QSKIP("only root gives a file away");
        const QString saved = kind == u"symlink" || kind == u"hardlink" ? name : real;
        struct stat before{}, after{};
        QCOMPARE(::stat(QFile::encodeName(real).constData(), &before), 0);
        QVERIFY(filesystem::saveFile(saved, "#new\r\n"));
        QCOMPARE(::stat(QFile::encodeName(real).constData(), &after), 0);
        QCOMPARE(filesystem::readWholeFile(real), Bytes("#new\r\n"));
        QCOMPARE(filesystem::readWholeFile(saved), Bytes("#new\r\n"));
        QCOMPARE(QFileInfo(name).isSymLink(), kind == u"symlink");
        const auto kept = [](const struct stat &s) { return QList<qulonglong>{s.st_mode, s.st_uid, s.st_gid, s.st_nlink}; };
        QCOMPARE(kept(after), kept(before)); // mode, owner, group, links
    }

    // After a crash in the middle of a save in place, the next start puts the old content
    // back only where the file holds just what the interrupted write left.
    void recoverInterruptedSave_data()
    {
        columns<QByteArray, QByteArray, bool>({"onDisk", "after", "journalKept"});
        QTest::newRow("cut after the first bytes: put back") << QByteArray("#ne") + journalOld.mid(3) << journalOld << false;
        QTest::newRow("written whole: kept") << journalNew << journalNew << false;
        QTest::newRow("nothing written yet: kept") << journalOld << journalOld << false;
        QTest::newRow("saved by someone since: left alone") << QByteArray("#theirs\r\n") << QByteArray("#theirs\r\n") << true;
    }
    void recoverInterruptedSave()
    {
        QFETCH(QByteArray, onDisk);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"a.cdt"_s), cache = dir.filePath(u"cache"_s);
        QVERIFY(QDir().mkpath(cache) && filesystem::writeWholeFile(path, onDisk));
        QVERIFY(filesystem::writeWholeFile(cache + u"/1.journal"_s, "snipdeck in-place save\n" + QFile::encodeName(path) + "\n"
                                           + QByteArray::number(journalOld.size()) + "\n" + QByteArray::number(journalNew.size())
                                           + "\n" + journalOld + journalNew));
        const bool torn = onDisk.startsWith("#ne") && onDisk != journalNew;
        QCOMPARE(filesystem::recoverInterruptedSaves(cache), torn ? QStringList{path} : QStringList());
        QTEST(filesystem::readWholeFile(path).value(), "after");
        QTEST(QFile::exists(cache + u"/1.journal"_s), "journalKept");
    }

    void encodingIsDetectedAndKept_data()
    {
        // written: saved back, empty for the same bytes
        columns<QByteArray, Encoding, QByteArray>({"bytes", "encoding", "written"});
        QTest::newRow("ASCII") << QByteArray("#a\r\nb\\c~\r\n") << Encoding::ShiftJis << QByteArray();
        QTest::newRow("Shift-JIS kanji and kana")
                << sjis::encode(u"#未設定\r\nお世話になっております。ﾎﾞﾀﾝ\r\n"_s).value() << Encoding::ShiftJis << QByteArray();
        // These bytes are valid UTF-8 too (н, è, ýā@).
        QTest::newRow("half-width katakana that is also UTF-8")
                << sjis::encode(u"#ﾐｽ\r\nﾃｨ 1\r\nﾃｽﾄ　\r\n"_s).value() << Encoding::ShiftJis << QByteArray();
        QTest::newRow("UTF-8 Japanese") << QByteArray("#挨拶\r\nお世話になっております。\r\n") << Encoding::Utf8 << QByteArray();
        QTest::newRow("UTF-8 accent after a letter") << QByteArray("#café\r\n\r\n") << Encoding::Utf8 << QByteArray();
        QTest::newRow("UTF-8 accent before a letter") << QByteArray("#¡Hola\r\n\r\n") << Encoding::Utf8 << QByteArray();
        QTest::newRow("UTF-8 that Shift-JIS cannot read") << QByteArray("#Ä\r\n\r\n") << Encoding::Utf8 << QByteArray();
        QTest::newRow("byte order mark kept; nothing Shift-JIS lacks is refused")
                << bom + "#〜 😀\r\ncafé\r\n" << Encoding::Utf8WithBom << QByteArray();
        QTest::newRow("a second mark at the start is dropped, one inside kept")
                << bom + bom + "#a\r\n" + bom + "b\r\n" << Encoding::Utf8WithBom << bom + "#a\r\n" + bom + "b\r\n";
        // Line ends as they came: LF alone stays LF; a file with any CR, CR LF.
        QTest::newRow("UTF-8, LF") << QByteArray("#日本語\nx\n\n#b\n\n") << Encoding::Utf8 << QByteArray();
        QTest::newRow("Shift-JIS, LF, no last line end") << sjis::encode(u"#未設定\nお世話\nﾎﾞﾀﾝ"_s).value()
                << Encoding::ShiftJis << sjis::encode(u"#未設定\nお世話\nﾎﾞﾀﾝ\n"_s).value();
        QTest::newRow("UTF-8, lone CR and LF") << QByteArray("#日本語\rx\ny") << Encoding::Utf8
                                               << QByteArray("#日本語\r\nx\r\ny\r\n");
        QTest::newRow("mostly LF, one CR LF") << QByteArray("#a\nx\r\ny\n") << Encoding::ShiftJis << QByteArray("#a\r\nx\r\ny\r\n");
        // Left without its Japanese line, "©" alone would read back as half-width katakana.
        QTest::newRow("a mark where the rest would read as Shift-JIS") << QByteArray("あ\r\n#©\r\n") << Encoding::Utf8
                                                                       << bom + "#©\r\n\r\n";
    }
    void encodingIsDetectedAndKept()
    {
        QFETCH(QByteArray, bytes);
        QTEST(clipfile::detectEncoding(bytes), "encoding");
        QVERIFY(filesystem::writeWholeFile(m_path, bytes));
        const auto read = clipfile::read(m_path);
        QVERIFY(clipfile::write(m_path, read.entries, read.encoding, read.lineEnd).ok());
        QFETCH(QByteArray, written);
        QCOMPARE(filesystem::readWholeFile(m_path).value(), written.isEmpty() ? bytes : written);
    }

    // How saves by other programs reach the bar: through the system's events, through a
    // look at the file's size and times (a network share sends no events), or both at once;
    // within 3 s, even while another file of the folder is saved every 60 ms.
    // Steps: w written in place, b five writes at once, r replaced by a rename, d removed,
    // c created, . a pause longer than a save takes.
    void fileWatch_data()
    {
        // pollMs 0: never looked at
        columns<bool, int, QString, int, bool>({"events", "pollMs", "steps", "changes", "busyFolder"});
        QTest::newRow("event: written in place") << true << 0 << "w" << 1 << false;
        QTest::newRow("event: a burst is one save") << true << 0 << "b" << 1 << false;
        QTest::newRow("event: replaced, then written in place") << true << 0 << "r.w" << 2 << false;
        QTest::newRow("event: removed, back, written in place") << true << 0 << "d.c.w" << 3 << false;
        QTest::newRow("poll: written in place") << false << 100 << "w" << 1 << false;
        QTest::newRow("poll: a burst, replaced, removed, back") << false << 100 << "b.r.d.c" << 4 << false;
        QTest::newRow("both: nothing changes") << true << 100 << "" << 0 << false;
        QTest::newRow("both: each save once") << true << 100 << "b.r.w" << 3 << false;
        QTest::newRow("event: a busy folder") << true << 0 << "w" << 1 << true;
        QTest::newRow("both: a busy folder, nothing changes") << true << 100 << "" << 0 << true;
    }
    void fileWatch()
    {
        QFETCH(int, pollMs);
        const FileWatch::Timing timing{150, pollMs, fetched<bool>("events")};
        QVERIFY(filesystem::writeWholeFile(m_path, "#a\n"));
        const auto writeInPlace = [](const QString &path) { QFile file(path); QVERIFY(file.open(QIODevice::Append) && file.write("x") == 1); };
        QTimer neighbour;
        connect(&neighbour, &QTimer::timeout, this, [&] { writeInPlace(m_dir.filePath(u"log"_s)); });
        if (fetched<bool>("busyFolder"))
            neighbour.start(60);
        FileWatch watch(timing);
        QSignalSpy changed(&watch, &FileWatch::changed);
        watch.setPath(m_path);
        for (const QChar step : fetched<QString>("steps")) {
            switch (step.unicode()) {
            case 'w': writeInPlace(m_path); break;
            case 'b': for (int i = 0; i < 5; ++i) writeInPlace(m_path); break;
            case 'r': QVERIFY(filesystem::writeWholeFile(m_path, "#replaced\n")); break;
            case 'd': QVERIFY(QFile::remove(m_path)); break;
            case 'c': QVERIFY(filesystem::writeWholeFile(m_path, "#back\n")); break;
            default: QTest::qWait(4 * timing.settleMs + 2 * pollMs);
            }
        }
        QFETCH(int, changes);
        // Waited for, not QTRY_COMPARE, whose timeout arithmetic warns under -Wconversion with Qt 6.8.
        QVERIFY(QTest::qWaitFor([&] { return changed.size() >= changes; }, 3000));
        QTest::qWait(2 * timing.settleMs + 3 * pollMs); // and no more
        QCOMPARE(changed.size(), changes);
    }

    // A save never leaves a clip data file half written: a writer (this program again) killed
    // at random moments while it rewrites megabytes leaves a whole version.
    void killedWhileSaving()
    {
        QList<QByteArray> versions(3);
        for (int v = 0; v < 3; ++v)
            QVERIFY(clipfile::encode(version(v), &versions[v]).ok());
        QVERIFY(clipfile::write(m_path, version(0)).ok());
        int saved = 0;
        for (int round = 0; round < 50; ++round) {
            QProcess writer;
            writer.start(QCoreApplication::applicationFilePath(), {u"--write"_s, m_path, QString::number(saved)});
            // Every third round only once a save has landed: then the kill falls into a later one.
            QVERIFY(writer.waitForStarted() && (round % 3 || writer.waitForReadyRead(30000)));
            QTest::qSleep(QRandomGenerator::global()->bounded(80));
            writer.kill();
            QVERIFY(writer.waitForFinished(30000));
            for (const QByteArray &line : writer.readAllStandardOutput().split('\n'))
                saved = line.isEmpty() ? saved : line.toInt();
            // A reported save has landed; the one after it may have landed too.
            const int found = int(versions.indexOf(filesystem::readWholeFile(m_path).value()));
            QVERIFY2(found >= 0, qPrintable(u"round %1: the file is no complete version"_s.arg(round)));
            if (found != saved % 3)
                QCOMPARE(found, ++saved % 3);
        }
        QVERIFY(saved > 0);
    }

    // Any bytes decode: one bad byte is one replacement character, and reading goes on.
    // Text without one encodes back to the very bytes.
    void codec_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ASCII, line ends and controls Qt's codec would swap")
                << QByteArray("\\~ #1\r\nb\rc\n\x1a\x1c\x7f") << u"\\~ #1\r\nb\rc\n\x1a\x1c\x7f"_s;
        QTest::newRow("half-width katakana is one byte") << QByteArray("\xce\xde\xc0\xdd") << u"ﾎﾞﾀﾝ"_s;
        QTest::newRow("kanji, NEC and IBM extensions") << QByteArray("\x96\xa2\x90\xdd\x92\xe8\x87\x40\xfb\xfc") << u"未設定①髙"_s;
        // Long texts are encoded piece by piece; every character must arrive once, in order.
        QString text;
        QByteArray bytes;
        for (qsizetype i = 0; i < 2 * sjis::encodePiece + 7; ++i) {
            text += i % 3 ? u"未"_s : QString::number(i % 10);
            bytes += i % 3 ? QByteArray("\x96\xa2") : QByteArray::number(i % 10);
        }
        QTest::newRow("text longer than several pieces") << bytes << text;
        QTest::newRow("bad trail, never-characters, lead byte at the end")
                << QByteArray("a\x81 b\xa0\xfd" "c\x82") << u"a"_s + bad + u" b"_s + bad + bad + u"c"_s + bad;
        QTest::newRow("lead byte before CR LF keeps the line end") << QByteArray("A\x81\r\nx") << u"A"_s + bad + u"\r\nx"_s;
        QTest::newRow("unassigned pair: the trail byte read on") << QByteArray("\x85\x40") << bad + u"@"_s;
        QTest::newRow("trail byte 0x5C is no backslash") << QByteArray("\x95\x5c\x83\x5c") << u"表ソ"_s;
        QTest::newRow("NUL, an unassigned lead byte before a good pair, a lead byte at the end")
                << QByteArray("\0\x85\x81\x40\x9f", 5) << QString(QChar(0)) + bad + u"\u3000"_s + bad;
        // A bad byte must not cost more than a good one.
        QTest::newRow("4 MiB of bad bytes") << QByteArray(4 * MiB, '\xa0') << QString(4 * MiB, QChar::ReplacementCharacter);
    }
    void codec()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(sjis::decode(bytes), text);
        if (!text.contains(QChar::ReplacementCharacter))
            QCOMPARE(sjis::encode(text), Bytes(bytes));
    }

    void refusesWhatWouldReadBackOtherwise_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Bytes>("folded"); // look-alikes folded; none: refused still
        QTest::newRow("emoji") << u"ok 😀"_s << Bytes();
        QTest::newRow("lone surrogate") << QString(QChar(0xd800)) << Bytes();
        // Past the first pieces of a long text, and across the border between two pieces.
        for (int at : {border - 2, border - 1, border})
            QTest::addRow("emoji at %d", at) << QString(filler).insert(at, u"😀"_s) << Bytes();
        QTest::newRow("lone high surrogate at a piece's end")
                << QString(filler).insert(border - 1, QChar(0xd800)) << Bytes();
        QTest::newRow("dashes, lines and signs") << u"9:00〜17:00‖−¢£¬—"_s << Bytes(
                "9:00\x81\x60" "17:00\x81\x61\x81\x7c\x81\x91\x81\x92\x81\xca\x81\x5c");
        // Not the backslash byte: a price must not read back as a path separator.
        QTest::newRow("yen sign far into a long text") << filler + u"¥100"_s << Bytes(filler.toLatin1() + "\x81\x8f" "100");
    }
    void refusesWhatWouldReadBackOtherwise()
    {
        QFETCH(QString, text);
        // A path that read back as another character would name another file.
        QCOMPARE(sjis::encode(text), std::nullopt);
        QByteArray out("kept"); // appended onto earlier output, a refusal leaves that as it was
        QVERIFY(!sjis::appendEncoded(text, out));
        QCOMPARE(out, QByteArray("kept"));
        QFETCH(Bytes, folded);
        QCOMPARE(sjis::encode(text, sjis::LookAlikes::Fold), folded);
        if (folded)
            QCOMPARE(sjis::decode(*folded), sjis::foldLookAlikes(text));
    }
};

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--write") == 0) { // the writer: saves the versions after argv[3], reporting each
        setvbuf(stdout, nullptr, _IOLBF, 0);
        for (int v = atoi(argv[3]) + 1; clipfile::write(QString::fromLocal8Bit(argv[2]), version(v)).ok(); ++v)
            std::printf("%d\n", v);
        return 2;
    }
    QCoreApplication app(argc, argv);
    TestClipFile test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_clipfile.moc"
