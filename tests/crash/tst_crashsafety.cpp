// A save must never leave a clip data file half written: the helper process is killed
// with SIGKILL at random moments while it rewrites a large file, and a save that fails
// for lack of room leaves the old file as it was.

#include "crashversions.h"

#include "files/clipfile.h"
#include "platform/filesystem.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/stat.h>

#include <array>

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedWhileSaving();
    void saveBeyondFileSizeLimit_data();
    void saveBeyondFileSizeLimit();

private:
    /** The version whose bytes the file holds, or -1 when it holds none of them. */
    int versionOf(const QByteArray &bytes) const;
    QStringList strayFiles(const QTemporaryDir &dir) const;

    std::array<QByteArray, crashversions::count> m_bytes;
};

void TestCrashSafety::initTestCase()
{
    for (int v = 0; v < crashversions::count; ++v) {
        const auto result = clipfile::encode(crashversions::entries(v), &m_bytes[v]);
        QVERIFY(result.ok());
    }
    QVERIFY(m_bytes[0] != m_bytes[1]);
    QVERIFY(m_bytes[0].size() > 2 * 1024 * 1024);
}

namespace {

/** Waits until the file at `path` is another file or has another size or time. */
bool waitForChange(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat before{};
    if (::stat(name.constData(), &before) != 0)
        return false;
    for (int i = 0; i < 300000; ++i) {
        struct stat now{};
        if (::stat(name.constData(), &now) != 0 || now.st_ino != before.st_ino
            || now.st_size != before.st_size || now.st_mtim.tv_nsec != before.st_mtim.tv_nsec
            || now.st_mtim.tv_sec != before.st_mtim.tv_sec)
            return true;
        QThread::usleep(100);
    }
    return false;
}

} // namespace

int TestCrashSafety::versionOf(const QByteArray &bytes) const
{
    for (int v = 0; v < crashversions::count; ++v)
        if (bytes == m_bytes[v])
            return v;
    return -1;
}

QStringList TestCrashSafety::strayFiles(const QTemporaryDir &dir) const
{
    QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QStringLiteral("data.cdt"));
    return names;
}

void TestCrashSafety::killedWhileSaving()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("data.cdt"));
    QVERIFY(clipfile::write(path, crashversions::entries(0)).ok());

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random seed %u", seed);
    QRandomGenerator random(seed);

    constexpr int rounds = 50;
    int version = 0;
    int changed = 0;
    for (int round = 0; round < rounds; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(CLIPWRITER), {QStringLiteral("loop"), path, QString::number(version)});
        QVERIFY2(writer.waitForStarted(), qPrintable(writer.errorString()));
        switch (round % 3) {
        case 0: // anywhere, start-up included
            QThread::msleep(random.bounded(80));
            break;
        case 1: // after a save has completed, at a random point of a later one
            while (!writer.canReadLine())
                QVERIFY2(writer.waitForReadyRead(30000), "the writer reported no save");
            QThread::msleep(random.bounded(80));
            break;
        case 2: // the moment the file starts to change: a writer that wrote in place
                // would now be halfway through
            QVERIFY2(waitForChange(path), "the file did not change");
            break;
        }
        writer.kill();
        QVERIFY(writer.waitForFinished(30000));

        // The last version the writer reported as saved, or the one it started from.
        int saved = version;
        const QList<QByteArray> lines = writer.readAllStandardOutput().split('\n');
        for (const QByteArray &line : lines) {
            QVERIFY2(!line.startsWith("fail"), line.constData());
            bool ok = false;
            const int n = line.toInt(&ok);
            if (ok)
                saved = n;
        }

        const auto bytes = filesystem::readWholeFile(path);
        QVERIFY(bytes);
        const int found = versionOf(*bytes);
        QVERIFY2(found >= 0, qPrintable(QStringLiteral("round %1: the file (%2 bytes) is no complete version")
                                            .arg(round).arg(bytes->size())));
        // A reported save has landed; the save after it may have landed too.
        if (found == saved % crashversions::count) {
            version = saved;
        } else {
            QCOMPARE(found, (saved + 1) % crashversions::count);
            version = saved + 1;
        }
        if (version != 0)
            ++changed;
    }
    QVERIFY(changed > 0);
    // A killed save leaves its temporary file behind; it never takes the file's place.
    if (const QStringList stray = strayFiles(dir); !stray.isEmpty())
        qInfo("%lld temporary files left by killed saves", static_cast<long long>(stray.size()));
}

void TestCrashSafety::saveBeyondFileSizeLimit_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::newRow("nothing may be written") << qint64(0);
    QTest::newRow("one block") << qint64(4096);
    QTest::newRow("half the file") << qint64(m_bytes[1].size() / 2);
    QTest::newRow("one byte short") << qint64(m_bytes[1].size() - 1);
}

void TestCrashSafety::saveBeyondFileSizeLimit()
{
    QFETCH(qint64, limit);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("data.cdt"));
    QVERIFY(clipfile::write(path, crashversions::entries(0)).ok());

    QProcess writer;
    writer.start(QStringLiteral(CLIPWRITER), {QStringLiteral("limited"), path, QString::number(limit)});
    QVERIFY(writer.waitForFinished(60000));
    QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(writer.exitCode(), 0);

    const QByteArray output = writer.readAllStandardOutput().trimmed();
    QVERIFY2(output.startsWith("Failed\t"), output.constData());
    QVERIFY2(output.size() > qsizetype(sizeof("Failed\t")), "the failure has no reason");

    const auto bytes = filesystem::readWholeFile(path);
    QVERIFY(bytes);
    QCOMPARE(versionOf(*bytes), 0);
    QCOMPARE(strayFiles(dir), QStringList());
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
