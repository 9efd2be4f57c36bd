// A save never leaves a clip data file half written: this program, started again as a writer,
// is killed with SIGKILL at random moments while it rewrites a file of 4 MiB; and a save that
// fails for lack of room leaves the old file as it was.

#include "files/clipfile.h"
#include "platform/filesystem.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>

namespace {
constexpr int versions = 3;

/** Every line of every entry names its version: a file made of two, or cut short, is none. */
QList<ClipEntry> version(int v)
{
    QList<ClipEntry> entries;
    for (int i = 0; i < clipfile::maxEntries; ++i) {
        QString text;
        for (int line = 0; text.size() < 64 * 1024; ++line)
            text += u"版%1 項目%2 行%3 いろはにほへと ｲﾛﾊ 漢字テキスト\r\n"_qs.arg(v % versions).arg(i).arg(line);
        entries.append({u"版%1の%2"_qs.arg(v % versions).arg(i), text});
    }
    return entries;
}

/** The writer: saves the versions after `from` in turn, each reported once it has landed. */
int writeForever(const QString &path, int from)
{
    for (int v = from + 1;; ++v) {
        if (!clipfile::write(path, version(v)).ok())
            return 2;
        std::printf("%d\n", v);
        std::fflush(stdout);
    }
}
} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedWhileSaving();
    void saveBeyondFileSizeLimit_data();
    void saveBeyondFileSizeLimit();

private:
    int versionIn(const QString &path) const { return int(m_bytes.indexOf(filesystem::readWholeFile(path).value())); }

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(u"data.cdt"_qs);
    QList<QByteArray> m_bytes;
};

void TestCrashSafety::initTestCase()
{
    for (int v = 0; v < versions; ++v)
        QVERIFY(clipfile::encode(version(v), &m_bytes.emplace_back()).ok());
    QVERIFY(m_bytes[0].size() > 2 * 1024 * 1024);
}

void TestCrashSafety::killedWhileSaving()
{
    QVERIFY(clipfile::write(m_path, version(0)).ok());
    const quint32 seed = qEnvironmentVariableIsSet("SNIPDECK_SEED") ? quint32(qEnvironmentVariableIntValue("SNIPDECK_SEED"))
                                                                     : QRandomGenerator::global()->generate();
    qInfo("SNIPDECK_SEED=%u replays this run", seed);
    QRandomGenerator random(seed);
    int saved = 0;
    for (int round = 0; round < 50; ++round) {
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(), {u"--write"_qs, m_path, QString::number(saved)});
        QVERIFY(writer.waitForStarted());
        // Every third round only once a save has landed: then the kill falls into a later one.
        if (round % 3 == 0)
            QVERIFY2(writer.waitForReadyRead(30000), "the writer reported no save");
        QThread::msleep(random.bounded(80));
        writer.kill();
        QVERIFY(writer.waitForFinished(30000));
        const QList<QByteArray> reported = writer.readAllStandardOutput().split('\n');
        for (const QByteArray &line : reported)
            saved = line.isEmpty() ? saved : line.toInt();
        // A reported save has landed; the save after it may have landed too.
        const int found = versionIn(m_path);
        QVERIFY2(found >= 0, qPrintable(u"round %1: the file is no complete version"_qs.arg(round)));
        if (found != saved % versions) {
            QCOMPARE(found, (saved + 1) % versions);
            ++saved;
        }
    }
    QVERIFY(saved > 0);
}

void TestCrashSafety::saveBeyondFileSizeLimit_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::newRow("nothing may be written") << qint64(0);
    QTest::newRow("half the file") << qint64(m_bytes[1].size() / 2);
    QTest::newRow("one byte short") << qint64(m_bytes[1].size() - 1);
}

void TestCrashSafety::saveBeyondFileSizeLimit()
{
    QFETCH(qint64, limit);
    QTemporaryDir dir; // without the temporary files killed saves left
    const QString path = dir.filePath(u"data.cdt"_qs);
    QVERIFY(clipfile::write(path, version(0)).ok());
    // Past the limit the write fails with EFBIG, as on a full disk; SIGXFSZ would end us.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit lowered = old;
    lowered.rlim_cur = rlim_t(limit);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &lowered), 0);
    const auto result = clipfile::write(path, version(1));
    setrlimit(RLIMIT_FSIZE, &old);
    QCOMPARE(result.status, clipfile::WriteResult::Status::Failed);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(versionIn(path), 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.cdt"});
}

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--write") == 0)
        return writeForever(QString::fromLocal8Bit(argv[2]), atoi(argv[3]));
    QCoreApplication app(argc, argv);
    TestCrashSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsafety.moc"
