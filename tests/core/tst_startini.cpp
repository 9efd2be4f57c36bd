#include "datatable.h"

#include "files/autosave.h"
#include "files/autostart.h"
#include "files/filelist.h"
#include "files/options.h"
#include "files/startini.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using filelist::Entry;

namespace {
/** The lines of a Start.ini, '|' between them. */
QString lines(const QString &list)
{
    return QString(list).replace(u'|', u"\r\n"_s) + u"\r\n"_s;
}

/** Numbers are buttonNum, height, width, winZ, controlShowFlag, savedIndex. */
StartSettings settings(QList<int> n, const QStringList &paths = {}, std::optional<double> top = 0,
                       std::optional<double> left = 0)
{
    return {n[0], n[1], n[2], n[3], n[4], top, left, n[5], paths};
}
} // namespace

class TestStartIni : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString make(const QString &name)
    {
        if (!filesystem::writeWholeFile(m_dir.filePath(name), {}))
            qFatal("cannot create %s", qPrintable(name));
        return m_dir.filePath(name);
    }

private slots:
    void parse_data()
    {
        columns<QString, StartSettings>({"text", "expected"});
        QTest::newRow("well formed") << lines(" 5 | 300 | 2000 | 1 | 0 | 1500.5 |-45 | 1 |/a|/b")
                                     << settings({5, 300, 2000, 1, 0, 1}, {"/a", "/b"}, 1500.5, -45);
        QTest::newRow("fewer than eight lines") << lines(" 7 | 250 ") << settings({7, 250, 2400, 0, 0, -1}, {}, {}, {});
        QTest::newRow("not numbers") << lines("x||0x10|inf|1|a|b|nan") << settings({14, 240, 2400, 0, 1, -1}, {}, {}, {});
        QTest::newRow("beyond 16 bits or single precision") << lines("40000|240|2400|-32769|0|1e39|-1e39|99999")
                                                            << settings({14, 240, 2400, 0, 0, -1}, {}, {}, {});
        QTest::newRow("count above 30 becomes 30") << lines("45|240|2400|0|0|0|0|0") << settings({30, 240, 2400, 0, 0, 0});
        QTest::newRow("half rounds to even") << lines("2.5|240.5|2400|2|0|0|0|0") << settings({2, 240, 2400, 2, 0, 0});
        QTest::newRow("beyond 16-bit twips: default size") << lines("30|2000|32000|0|0|0|0|0")
                                                           << settings({30, 240, 2400, 0, 0, 0});
        QTest::newRow("empty lines among paths are skipped, blanks kept")
                << lines("1|2|3|4|5|6|7|8||/a|| |/b c;d") << settings({1, 2, 3, 4, 5, 8}, {"/a", " ", "/b c;d"}, 6, 7);
        QTest::newRow("only CR ends a line; a last line without one is read")
                << u"1\r2\r\n3\r4\r5\r6\r7\r8\rlast"_s << settings({1, 2, 3, 4, 5, 8}, {"last"}, 6, 7);
    }
    void parse()
    {
        QVERIFY(startini::parse(fetched<QString>("text")) == fetched<StartSettings>("expected"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<StartSettings>("settings");
        QTest::newRow("every value set") << settings({30, 200, 10000, 1, 1, 2}, {"/a", "/a", "/ｶﾀｶﾅ/①.cdt"}, 12345, 0);
        // Paths are kept exactly, however much they look like something else.
        for (const char *path : {" /tmp/a b/c  d.cdt  ", "   ", "\"/tmp/quoted.cdt\"", "/tmp/a;b;;c.cdt;", "; not a comment",
                                 "[Settings]", " 14 ", "/tmp/a\tb\nc.cdt", "C:\\Users\\山田\\ﾃﾞｽｸﾄｯﾌﾟ\\定型文①.cdt"})
            QTest::newRow(path) << settings({14, 240, 2400, 0, 0, 1}, {"/first.cdt", path, path});
    }
    void roundTrip()
    {
        const auto encoded = startini::encode(fetched<StartSettings>("settings"));
        QVERIFY(encoded.leftOut.isEmpty());
        QTEST(startini::parse(sjis::decode(encoded.bytes)), "settings");
    }

    void encode_data()
    {
        columns<StartSettings, QByteArray, QStringList>({"settings", "bytes", "leftOut"});
        const QByteArray numbers(" 14 \r\n 240 \r\n 2400 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
        QTest::newRow("documented bytes") << settings({14, 240, 2400, 0, 0, 1}, {"/home/u/定型文.cdt", "/x y.cdt"}, 1500.25, -30.123456)
                                          << QByteArray(" 14 \r\n 240 \r\n 2400 \r\n 0 \r\n 0 \r\n 1500.25 \r\n-30.12346 \r\n 1 \r\n"
                                                        "/home/u/\x92\xe8\x8c\x5e\x95\xb6.cdt\r\n/x y.cdt\r\n") << QStringList();
        QTest::newRow("defaults") << StartSettings{} << numbers + "-1 \r\n" << QStringList();
        // Paths Shift-JIS cannot hold are left out, and the index follows the file it named: two are left out
        // before the fifth; the second is left out itself, and none is selected; the first comes before them.
        const QStringList paths{"/a", "/café", "/b", "/😀", "/c"};
        for (const auto &[index, written] : {std::pair{4, " 2 "}, {1, "-1 "}, {0, " 0 "}})
            QTest::addRow("index %d, paths left out", index) << settings({14, 240, 2400, 0, 0, index}, paths)
                                                          << numbers + written + "\r\n/a\r\n/b\r\n/c\r\n" << QStringList{"/café", "/😀"};
    }
    void encode()
    {
        const auto encoded = startini::encode(fetched<StartSettings>("settings"));
        QTEST(encoded.bytes, "bytes");
        QTEST(encoded.leftOut, "leftOut");
    }

    void resolveIndex_data()
    {
        columns<int, QList<bool>, int>({"saved", "exists", "expected"});
        QTest::newRow("B missing, C saved: stays on C") << 2 << QList<bool>{true, false, true} << 1;
        QTest::newRow("B missing and saved: the one before") << 1 << QList<bool>{true, false, true} << 0;
        QTest::newRow("nothing saved") << -1 << QList<bool>{false, true} << -1;
        QTest::newRow("one past the list") << 2 << QList<bool>{true, true} << -1;
        QTest::newRow("below -1") << -3 << QList<bool>{true} << -1;
        QTest::newRow("missing after the saved one do not count") << 0 << QList<bool>{true, false} << 0;
    }
    void resolveIndex()
    {
        QTEST(startini::resolveIndex(fetched<int>("saved"), fetched<QList<bool>>("exists")), "expected");
    }

    void existingAndRestoredEntries()
    {
        const QString b = make(u"b.cdt"_s);
        const QString a = make(u"定型文.cdt"_s);
        const QString hidden = make(u".hidden.cdt"_s);
        QVERIFY(QDir(m_dir.path()).mkdir(u"folder.cdt"_s));
        const QString gone = m_dir.filePath(u"gone.cdt"_s);
        // Nor what a read would never finish: a pipe, an endless device, a link to itself.
        const QString pipe = m_dir.filePath(u"pipe.cdt"_s), loop = m_dir.filePath(u"loop.cdt"_s);
        QVERIFY(::mkfifo(qPrintable(pipe), 0600) == 0 && QFile::link(loop, loop));
        QCOMPARE(filelist::existingEntries({b, gone, a, m_dir.filePath(u"folder.cdt"_s), hidden, pipe, u"/dev/zero"_s, loop, b, QString()}),
                 (QList<Entry>{{u"b.cdt"_s, b}, {u"定型文.cdt"_s, a}, {u"b.cdt"_s, b}}));
        // Restoring keeps every path, and names a missing file with nothing.
        QCOMPARE(filelist::restoredEntries({gone, b}), (QList<Entry>{{QString(), gone}, {u"b.cdt"_s, b}}));
    }

    void resolveListedPath_data()
    {
        // <F> is the folder of Start.ini.
        columns<QString, QString>({"listed", "resolved"});
        QTest::newRow("mixed separators") << "D:\\共有/古い\\署名.cdt" << "<F>/署名.cdt";
        QTest::newRow("drive letter, slashes") << "D:/共有/署名.cdt" << "<F>/署名.cdt";
        QTest::newRow("differs in case only") << "C:\\x\\memo.cdt" << "<F>/Memo.CDT";
        QTest::newRow("exact name before case") << "C:\\x\\exact.cdt" << "<F>/exact.cdt";
        QTest::newRow("found nowhere") << "C:\\x\\gone.cdt" << "C:\\x\\gone.cdt";
        QTest::newRow("a folder is no file") << "C:\\x\\sub" << "C:\\x\\sub";
        QTest::newRow("Linux path with a backslash, existing") << "<F>/sub/a\\b.cdt" << "<F>/sub/a\\b.cdt";
        QTest::newRow("Linux path, missing") << "<F>/sub/b.cdt" << "<F>/sub/b.cdt";
    }
    void resolveListedPath()
    {
        const QString folder = m_dir.filePath(u"start"_s);
        if (!QDir(folder).exists()) {
            QVERIFY(QDir(m_dir.path()).mkpath(u"start/sub"_s));
            for (const char *name : {"署名.cdt", "Memo.CDT", "Exact.cdt", "exact.cdt", "b.cdt", "sub/a\\b.cdt"})
                make(u"start/"_s + QString::fromUtf8(name));
        }
        const auto inFolder = [&folder](QString path) { return path.replace("<F>", folder); };
        QCOMPARE(filelist::resolveListedPath(inFolder(fetched<QString>("listed")), folder),
                 inFolder(fetched<QString>("resolved")));
    }

    void autosave_data()
    {
        // From "a", what the program would write at each look, and what the file holds after
        // it ('.': no file, nothing written). "!b": saved at once, as the session manager
        // asks; "bx": that look's write fails (the folder is gone for the moment).
        columns<QString, QString>({"looks", "file"});
        QTest::newRow("nothing changes: nothing written") << "a a a" << "...";
        QTest::newRow("a change, written once still") << "b b b" << ".bb";
        QTest::newRow("a drag, written when it ends") << "b c d d" << "...d";
        QTest::newRow("back as it was: nothing to write") << "b a a" << "...";
        QTest::newRow("the session manager asks") << "!b b" << "bb";
        QTest::newRow("asked with no change") << "!a" << ".";
        QTest::newRow("a failed write: tried at the next change") << "b bx b b c c" << ".....c";
    }
    void autosave()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"work"_s);
        const QString away = dir.filePath(u"away"_s);
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + u"/Start.ini"_s;
        char now = 'a';
        Autosave autosave(path, [&now] { return QByteArray(1, now); });
        autosave.start(3600 * 1000);
        QString held;
        for (const QString &step : fetched<QString>("looks").split(u' ')) {
            const bool atOnce = step.startsWith(u'!');
            now = step.at(atOnce ? 1 : 0).toLatin1();
            QVERIFY(!step.endsWith(u'x') || QDir().rename(folder, away));
            QVERIFY(atOnce ? autosave.saveNow() : (autosave.look(), true));
            QVERIFY(!step.endsWith(u'x') || QDir().rename(away, folder));
            QFile written(path);
            held.append(written.open(QIODevice::ReadOnly) ? QString::fromLatin1(written.readAll()) : u"."_s);
        }
        QTEST(held, "file");
    }

    void autostartEntry_data()
    {
        // The program and the folder it runs in (<D> a fresh folder), as the entry's Exec and
        // Path lines hold them.
        columns<QString, QString, QString>({"program", "folder", "lines"});
        QTest::newRow("plain") << "<D>/bin/snipdeck" << "<D>/share/snipdeck"
                               << "Exec=<D>/bin/snipdeck|Path=<D>/share/snipdeck";
        QTest::newRow("blanks and percent: the shell starts it")
                << "<D>/my apps/50%/snipdeck" << "<D>/定型 文"
                << "Exec=sh -c \"exec \\\\\"\\\\$0\\\\\"\" \"<D>/my apps/50%%/snipdeck\"|Path=<D>/定型 文";
        QTest::newRow("shell characters") << "<D>/a\"$`\\b;c'd/p" << "<D>/x\\y"
                                          << "Exec=\"<D>/a\\\\\"\\\\$\\\\`\\\\\\\\b;c'd/p\"|Path=<D>/x\\\\y";
        QTest::newRow("line break, tab") << "<D>/s" << "<D>/a\nb\tc" << "Exec=<D>/s|Path=<D>/a\\nb\\tc";
        QTest::newRow("carriage return: none") << "<D>/s\r" << "<D>/f" << "";
    }
    void autostartEntry()
    {
        QFETCH(QString, lines);
        QTemporaryDir home;
        const auto inHome = [&home](QString text) { return text.replace(u"<D>"_s, home.path()); };
        const QString program = inHome(fetched<QString>("program")), folder = inHome(fetched<QString>("folder"));
        const autostart::Place place{autostart::folder(home.filePath(u"config"_s), home.path()), program};
        QCOMPARE(place.folder, home.filePath(u"config/autostart"_s));
        QVERIFY(!autostart::isOn(place.folder));
        QCOMPARE(autostart::set(place, folder, true), !lines.isEmpty());
        if (lines.isEmpty()) {
            QVERIFY(!autostart::canStart(program, folder) && !autostart::isOn(place.folder));
            return;
        }
        const QString path = autostart::entryPath(place.folder);
        const QStringList written = QString::fromUtf8(filesystem::readWholeFile(path).value_or(QByteArray())).split(u'\n');
        QCOMPARE(written.mid(0, 3), (QStringList{u"[Desktop Entry]"_s, u"Type=Application"_s, u"Name=Snipdeck"_s}));
        QCOMPARE(written.mid(4, 2).join(u'|'), inHome(lines));
        // The desktop's own checker, where it is installed.
        if (const QString validate = QStandardPaths::findExecutable(u"desktop-file-validate"_s); !validate.isEmpty()) {
            QProcess check;
            check.start(validate, {path});
            QVERIFY(check.waitForFinished());
            QCOMPARE(check.readAll() + QByteArray::number(check.exitCode()), QByteArray("0"));
        }
        QVERIFY(autostart::isOn(place.folder));
        // Switched off by the desktop's settings, in the entry's group only.
        for (const QByteArray off : {"[Other]\nHidden=true\n[Desktop Entry]\nHidden=false\n", "[Desktop Entry]\nX-GNOME-Autostart-enabled = false\n",
                                      "Hidden=true\n"}) {
            QVERIFY(filesystem::writeWholeFile(path, filesystem::readWholeFile(path).value_or(QByteArray()) + off));
            QCOMPARE(autostart::isOn(place.folder), off.startsWith("[Other]"));
        }
        QVERIFY(autostart::set(place, folder, false));
        QVERIFY(!QFile::exists(path));
        QVERIFY(autostart::set(place, folder, false)); // nothing to remove is no failure
        // A file where the folder goes.
        QVERIFY(QFile::rename(home.filePath(u"config/autostart"_s), home.filePath(u"gone"_s)));
        QVERIFY(QFile(place.folder).open(QIODevice::WriteOnly));
        QVERIFY(!autostart::set(place, folder, true));
        // XDG_CONFIG_HOME counts when it is an absolute path.
        for (const QString &unusable : {QString(), u"config"_s})
            QCOMPARE(autostart::folder(unusable, u"/home/u"_s), u"/home/u/.config/autostart"_s);
        QCOMPARE(options::parse(options::encode({true, {}})), (options::Options{true, {}}));
        QCOMPARE(options::parse("ClickPaste = 1\r\nOther=0"), (options::Options{true, {}}));
        // The desktop's consent kept for the next start, on a line of its own; a token that
        // would not read back the same is not written.
        const options::Options granted{true, "3f0c-a1/b+="};
        QCOMPARE(options::encode(granted), "ClickPaste=1\nRestoreToken=3f0c-a1/b+=\n");
        QCOMPARE(options::parse(options::encode(granted)), granted);
        QCOMPARE(options::encode({false, "two\nlines"}), "ClickPaste=0\n");
        QCOMPARE(options::parse("RestoreToken=a b\n"), options::Options{});
    }
};

QTEST_GUILESS_MAIN(TestStartIni)
#include "tst_startini.moc"
