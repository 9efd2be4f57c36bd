#include "platform/desktopexec.h"

#include <QTest>

class TestDesktopExec : public QObject
{
    Q_OBJECT

private slots:
    void unquoted_data();
    void unquoted();
    void argumentsBeforeFile_data();
    void argumentsBeforeFile();
};

void TestDesktopExec::unquoted_data()
{
    QTest::addColumn<QString>("quoted");
    QTest::addColumn<QString>("path");
    QTest::newRow("both quotes") << QStringLiteral("\"/a b/c;d.cdt\"") << QStringLiteral("/a b/c;d.cdt");
    QTest::newRow("no quotes") << QStringLiteral("/x.cdt") << QStringLiteral("/x.cdt");
    QTest::newRow("opening only") << QStringLiteral("\"/x.cdt") << QStringLiteral("/x.cdt");
    QTest::newRow("just quotes") << QStringLiteral("\"\"") << QString();
}

void TestDesktopExec::unquoted()
{
    QFETCH(QString, quoted);
    QTEST(desktopexec::unquoted(quoted), "path");
}

void TestDesktopExec::argumentsBeforeFile_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("program only") << QStringList{"gedit"} << QStringList{};
    QTest::newRow("file code only") << QStringList{"gedit", "%U"} << QStringList{};
    QTest::newRow("options before the file") << QStringList{"kate", "-b", "--new", "%f"} << QStringList{"-b", "--new"};
    QTest::newRow("nothing after the file code") << QStringList{"ed", "%F", "--late"} << QStringList{};
    QTest::newRow("other codes dropped") << QStringList{"app", "%i", "%c", "-x", "%k", "%u"} << QStringList{"-x"};
    QTest::newRow("percent sign kept") << QStringList{"app", "--ratio=50%%", "%f"} << QStringList{"--ratio=50%"};
    QTest::newRow("file code inside a word") << QStringList{"app", "-a", "--open=%f"} << QStringList{"-a"};
    QTest::newRow("empty") << QStringList{} << QStringList{};
}

void TestDesktopExec::argumentsBeforeFile()
{
    QFETCH(QStringList, words);
    QTEST(desktopexec::argumentsBeforeFile(words), "arguments");
}

QTEST_GUILESS_MAIN(TestDesktopExec)
#include "tst_desktopexec.moc"
