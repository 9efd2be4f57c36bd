#include "files/filewatch.h"
#include "files/knowncontent.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}
} // namespace

class TestDiskChanges : public QObject
{
    Q_OBJECT

private slots:
    void overwritingUnseenContentAsks_data();
    void overwritingUnseenContentAsks();
    void watchSurvivesReplaceByRename();
};

void TestDiskChanges::overwritingUnseenContentAsks_data()
{
    // The program read "#x" from a.cdt; the target is that file or another, on disk now
    // with the bytes given, or gone.
    using Bytes = std::optional<QByteArray>;
    QTest::addColumn<QString>("target");
    QTest::addColumn<Bytes>("onDisk");
    QTest::addColumn<bool>("asks");
    QTest::newRow("as read") << "a.cdt" << Bytes("#x\r\n") << false;
    QTest::newRow("changed since") << "a.cdt" << Bytes("#y\r\n") << true;
    QTest::newRow("gone since") << "a.cdt" << Bytes() << false;
    QTest::newRow("emptied since") << "a.cdt" << Bytes("") << false;
    QTest::newRow("another file with content") << "b.cdt" << Bytes("#x\r\n") << true;
    QTest::newRow("another file, empty") << "b.cdt" << Bytes("") << false;
}

void TestDiskChanges::overwritingUnseenContentAsks()
{
    QFETCH(QString, target);
    QFETCH(std::optional<QByteArray>, onDisk);
    const KnownContent known{u"a.cdt"_qs, QByteArray("#x\r\n")};
    QTEST(known.wouldOverwriteUnseen(target, onDisk), "asks");
}

void TestDiskChanges::watchSurvivesReplaceByRename()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("watched.cdt");
    writeFile(path, "#a\r\n");
    FileWatch watch;
    watch.setPath(path);
    QSignalSpy changed(&watch, &FileWatch::changed);

    // An editor's save: a new file beside the old one, renamed over it. Twice, since the
    // first rename ends the watch on the file the program started with.
    for (const QByteArray &bytes : {QByteArray("#b\r\n"), QByteArray("#c\r\n")}) {
        const QString temporary = dir.filePath("watched.cdt.tmp");
        writeFile(temporary, bytes);
        QCOMPARE(std::rename(QFile::encodeName(temporary).constData(),
                             QFile::encodeName(path).constData()), 0);
        QVERIFY(changed.wait(1000));
        QTest::qWait(300); // one save, one report
        QCOMPARE(changed.size(), 1);
        changed.clear();
    }
    writeFile(path, "#d\r\n"); // in place
    QVERIFY(changed.wait(1000));

    // A file no longer in use is no longer watched.
    watch.setPath(QString());
    changed.clear();
    writeFile(path, "#e\r\n");
    QTest::qWait(300);
    QCOMPARE(changed.size(), 0);
}

QTEST_GUILESS_MAIN(TestDiskChanges)
#include "tst_diskchanges.moc"
