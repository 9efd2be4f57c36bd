// A save never leaves a clip data file half written: a writer (this program again) killed at
// random moments while it rewrites megabytes leaves a whole version.

#include "files/clipfile.h"
#include "platform/filesystem.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

/** Every line names its version (of three): a file made of two, or cut short, is none. */
static QList<ClipEntry> version(int v)
{
    QList<ClipEntry> entries;
    for (int i = 0; i < clipfile::maxEntries; ++i)
        entries.append({u"版%1の%2"_qs.arg(v % 3).arg(i), u"版%1 項目%2 いろはにほへと ｲﾛﾊ 漢字\r\n"_qs.arg(v % 3).arg(i).repeated(2000)});
    return entries;
}

class TestCrashSafety : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(u"data.cdt"_qs);
    QList<QByteArray> m_bytes;
    int versionIn() const { return int(m_bytes.indexOf(filesystem::readWholeFile(m_path).value())); }

private slots:
    void initTestCase()
    {
        for (int v = 0; v < 3; ++v)
            QVERIFY(clipfile::encode(version(v), &m_bytes.emplace_back()).ok());
        QVERIFY(m_bytes[0].size() > 2 * 1024 * 1024);
    }
    void init() { QVERIFY(clipfile::write(m_path, version(0)).ok()); }

    void killedWhileSaving()
    {
        int saved = 0;
        for (int round = 0; round < 50; ++round) {
            QProcess writer;
            writer.start(QCoreApplication::applicationFilePath(), {u"--write"_qs, m_path, QString::number(saved)});
            // Every third round only once a save has landed: then the kill falls into a later one.
            QVERIFY(writer.waitForStarted() && (round % 3 || writer.waitForReadyRead(30000)));
            QTest::qSleep(QRandomGenerator::global()->bounded(80));
            writer.kill();
            QVERIFY(writer.waitForFinished(30000));
            for (const QByteArray &line : writer.readAllStandardOutput().split('\n'))
                saved = line.isEmpty() ? saved : line.toInt();
            // A reported save has landed; the one after it may have landed too.
            const int found = versionIn();
            QVERIFY2(found >= 0, qPrintable(u"round %1: the file is no complete version"_qs.arg(round)));
            if (found != saved % 3)
                QCOMPARE(found, ++saved % 3);
        }
        QVERIFY(saved > 0);
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
    TestCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsafety.moc"
