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
    void addKeepsExistingFilesInOrder();
    void restoreKeepsEveryPathAndBlanksMissingNames();
    void resolveListedPath_data();
    void resolveListedPath();
    void selection_data();
    void selection();

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

void TestFileList::addKeepsExistingFilesInOrder()
{
    const QString b = make(u"b.cdt"_qs);
    const QString a = make(u"定型文.cdt"_qs);
    const QString hidden = make(u".hidden.cdt"_qs);
    QVERIFY(QDir(m_dir.path()).mkdir(u"folder.cdt"_qs));
    const QString folder = m_dir.filePath(u"folder.cdt"_qs);
    const QString typed = m_dir.filePath(u"typed-but-absent.cdt"_qs);
    QCOMPARE(filelist::existingEntries({b, typed, a, folder, hidden, b, QString()}),
             (QList<Entry>{{u"b.cdt"_qs, b}, {u"定型文.cdt"_qs, a}, {u"b.cdt"_qs, b}}));
}

void TestFileList::restoreKeepsEveryPathAndBlanksMissingNames()
{
    const QString kept = make(u"kept.cdt"_qs);
    const QString gone = m_dir.filePath(u"gone.cdt"_qs);
    QCOMPARE(filelist::restoredEntries({gone, kept, gone}),
             (QList<Entry>{{QString(), gone}, {u"kept.cdt"_qs, kept}, {QString(), gone}}));
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
    QTest::newRow("Linux path with a backslash, existing") << "<F>/sub/a\\b.cdt" << "<F>/sub/a\\b.cdt";
    QTest::newRow("Linux path, missing") << "<F>/sub/b.cdt" << "<F>/sub/b.cdt";
}

void TestFileList::resolveListedPath()
{
    QFETCH(QString, listed);
    QFETCH(QString, resolved);
    const QString folder = m_dir.filePath(u"start"_qs);
    if (!QDir(folder).exists()) {
        QVERIFY(QDir(m_dir.path()).mkpath(u"start/sub"_qs));
        for (const char *name : {"挨拶.cdt", "署名.cdt", "Memo.CDT", "Exact.cdt", "exact.cdt",
                                 "b.cdt", "sub/a\\b.cdt"})
            make(u"start/"_qs + QString::fromUtf8(name));
    }
    const auto inFolder = [&folder](QString path) { return path.replace("<F>", folder); };
    QCOMPARE(filelist::resolveListedPath(inFolder(listed), folder), inFolder(resolved));
}

void TestFileList::selection_data()
{
    QTest::addColumn<bool>("afterDelete"); // else after a restore
    QTest::addColumn<int>("index");        // removed, or remembered
    QTest::addColumn<int>("count");        // entries left
    QTest::addColumn<int>("selection");
    QTest::newRow("delete first of three") << true << 0 << 2 << 0;
    QTest::newRow("delete middle of three") << true << 1 << 2 << 1;
    QTest::newRow("delete last of three") << true << 2 << 2 << 1;
    QTest::newRow("delete only entry") << true << 0 << 0 << -1;
    QTest::newRow("restore: fits") << false << 1 << 3 << 1;
    QTest::newRow("restore: last that fits") << false << 2 << 3 << 2;
    QTest::newRow("restore: nothing selected stays so") << false << -1 << 3 << -1;
    QTest::newRow("restore: beyond the end") << false << 4 << 3 << 2;
    QTest::newRow("restore: just beyond the end") << false << 3 << 3 << 2;
    QTest::newRow("restore: empty list") << false << 2 << 0 << -1;
    QTest::newRow("restore: empty, nothing selected") << false << -1 << 0 << -1;
}

void TestFileList::selection()
{
    QFETCH(bool, afterDelete);
    QFETCH(int, index);
    QFETCH(int, count);
    QTEST(afterDelete ? filelist::selectionAfterDelete(index, count) : filelist::selectionAfterRestore(index, count),
          "selection");
}

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_filelist.moc"
