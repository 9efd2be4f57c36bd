#include "files/filelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using filelist::Entry;

class TestFileList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void addKeepsExistingFilesInOrder();
    void restoreKeepsEveryPathAndBlanksMissingNames();
    void resolveListedPath_data();
    void resolveListedPath();
    void selectionAfterDelete_data();
    void selectionAfterDelete();
    void selectionAfterRestore_data();
    void selectionAfterRestore();

private:
    QString make(const QString &name);
    QTemporaryDir m_dir;
};

QString TestFileList::make(const QString &name)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(name));
    return file.fileName();
}

void TestFileList::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestFileList::addKeepsExistingFilesInOrder()
{
    const QString b = make(QStringLiteral("b.cdt"));
    const QString a = make(QStringLiteral("定型文.cdt"));
    const QString hidden = make(QStringLiteral(".hidden.cdt"));
    QDir(m_dir.path()).mkdir(QStringLiteral("folder.cdt"));
    const QString folder = m_dir.filePath(QStringLiteral("folder.cdt"));
    const QString typed = m_dir.filePath(QStringLiteral("typed-but-absent.cdt"));

    const QList<Entry> entries =
            filelist::existingEntries({b, typed, a, folder, hidden, b, QString()});
    const QList<Entry> expected = {{QStringLiteral("b.cdt"), b},
                                   {QStringLiteral("定型文.cdt"), a},
                                   {QStringLiteral("b.cdt"), b}};
    QCOMPARE(entries, expected);
    QVERIFY(filelist::existingEntries({}).isEmpty());
}

void TestFileList::restoreKeepsEveryPathAndBlanksMissingNames()
{
    const QString kept = make(QStringLiteral("kept.cdt"));
    const QString gone = make(QStringLiteral("gone.cdt"));
    QVERIFY(QFile::remove(gone));

    const QList<Entry> entries = filelist::restoredEntries({gone, kept, gone});
    const QList<Entry> expected = {{QString(), gone}, {QStringLiteral("kept.cdt"), kept},
                                   {QString(), gone}};
    QCOMPARE(entries, expected);
}

void TestFileList::resolveListedPath_data()
{
    // <F> is the folder of Start.ini.
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("drive letter") << "C:\\Users\\yamada\\定型文\\挨拶.cdt" << "<F>/挨拶.cdt";
    QTest::newRow("UNC") << "\\\\server\\share\\署名.cdt" << "<F>/署名.cdt";
    QTest::newRow("mixed separators") << "D:\\共有/古い\\署名.cdt" << "<F>/署名.cdt";
    QTest::newRow("drive letter, slashes") << "D:/共有/署名.cdt" << "<F>/署名.cdt";
    QTest::newRow("backslashes alone") << "共有\\署名.cdt" << "<F>/署名.cdt";
    QTest::newRow("differs in case only") << "C:\\x\\memo.cdt" << "<F>/Memo.CDT";
    QTest::newRow("exact name before case") << "C:\\x\\exact.cdt" << "<F>/exact.cdt";
    QTest::newRow("found nowhere") << "C:\\x\\gone.cdt" << "C:\\x\\gone.cdt";
    QTest::newRow("a folder is no file") << "C:\\x\\sub" << "C:\\x\\sub";
    QTest::newRow("Linux path with a backslash, existing")
            << "<F>/sub/a\\b.cdt" << "<F>/sub/a\\b.cdt";
    QTest::newRow("Linux path, missing") << "<F>/sub/b.cdt" << "<F>/sub/b.cdt";
}

void TestFileList::resolveListedPath()
{
    QFETCH(QString, listed);
    QFETCH(QString, resolved);
    const QString folder = m_dir.filePath(QStringLiteral("start"));
    if (!QDir(folder).exists()) {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("start/sub")));
        for (const char *name : {"挨拶.cdt", "署名.cdt", "Memo.CDT", "Exact.cdt", "exact.cdt",
                                 "b.cdt", "sub/a\\b.cdt"})
            make(QStringLiteral("start/") + QString::fromUtf8(name));
    }
    const auto inFolder = [&folder](QString path) { return path.replace("<F>", folder); };
    QCOMPARE(filelist::resolveListedPath(inFolder(listed), folder), inFolder(resolved));
}

void TestFileList::selectionAfterDelete_data()
{
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("remaining");
    QTest::addColumn<int>("selection");
    QTest::newRow("first of three") << 0 << 2 << 0;
    QTest::newRow("middle of three") << 1 << 2 << 1;
    QTest::newRow("last of three") << 2 << 2 << 1;
    QTest::newRow("last of two") << 1 << 1 << 0;
    QTest::newRow("only entry") << 0 << 0 << -1;
}

void TestFileList::selectionAfterDelete()
{
    QFETCH(int, removed);
    QFETCH(int, remaining);
    QFETCH(int, selection);
    QCOMPARE(filelist::selectionAfterDelete(removed, remaining), selection);
}

void TestFileList::selectionAfterRestore_data()
{
    QTest::addColumn<int>("remembered");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selection");
    QTest::newRow("fits") << 1 << 3 << 1;
    QTest::newRow("last that fits") << 2 << 3 << 2;
    QTest::newRow("nothing selected stays so") << -1 << 3 << -1;
    QTest::newRow("added entry beyond the end") << 4 << 3 << 2;
    QTest::newRow("just beyond the end") << 3 << 3 << 2;
    QTest::newRow("empty restored list") << 2 << 0 << -1;
    QTest::newRow("empty and nothing selected") << -1 << 0 << -1;
}

void TestFileList::selectionAfterRestore()
{
    QFETCH(int, remembered);
    QFETCH(int, count);
    QFETCH(int, selection);
    QCOMPARE(filelist::selectionAfterRestore(remembered, count), selection);
}

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_filelist.moc"
