#include "platform/qtlauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

/** The desktop the test runs on: its own data and config folders, set before GIO reads
    anything. The system's MIME database stays visible, its applications do not. */
struct TestDesktop
{
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

    void write(const QString &name, const QByteArray &bytes, bool executable = false) const
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(name));
        file.write(bytes);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    TestDesktop()
    {
        QDir().mkpath(path("system"));
        QFile::link(QStringLiteral("/usr/share/mime"), path("system/mime"));
        qputenv("XDG_DATA_DIRS", path("system").toUtf8());
        qputenv("XDG_DATA_HOME", path("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", path("config").toUtf8());
        // Records its arguments, one a line, in the file named by its first one.
        write("bin/stub editor", "#!/bin/sh\nout=\"$1\"; shift\nprintf '%s\\n' \"$@\" > \"$out\"\n",
              true);
        write("data/applications/stub.desktop",
              "[Desktop Entry]\nType=Application\nName=Stub\nMimeType=text/plain;\n"
              "Exec=\"" + path("bin/stub editor").toUtf8() + "\" " + path("args").toUtf8()
                      + " --flag %f\n");
        write("data/applications/console.desktop",
              "[Desktop Entry]\nType=Application\nName=Console editor\nMimeType=text/csv;\n"
              "Terminal=true\nExec=\"" + path("bin/stub editor").toUtf8() + "\" -q %F\n");
        write("config/mimeapps.list",
              "[Default Applications]\ntext/plain=stub.desktop\ntext/csv=console.desktop\n");
        // The terminal found first on the path is the test's own.
        write("bin/x-terminal-emulator", "#!/bin/sh\nexit 0\n", true);
        qputenv("PATH", path("bin").toUtf8() + ':' + qgetenv("PATH"));
    }
};

TestDesktop *desktop = nullptr;

} // namespace

using Status = Association::Status;

class TestQtLauncher : public QObject
{
    Q_OBJECT

private slots:
    void missingFileAndFolder();
    void typeWithoutDefaultApplication();
    void defaultApplicationWithItsArguments();
    void terminalProgramRunsInTheTerminal();
    void startRunsWithoutAShell();
};

void TestQtLauncher::missingFileAndFolder()
{
    QtLauncher launcher;
    QCOMPARE(launcher.findAssociatedProgram('"' + desktop->path("gone.cdt") + '"').status,
             Status::FileMissing);
    QCOMPARE(launcher.findAssociatedProgram('"' + desktop->path("gone/x.cdt") + '"').status,
             Status::PathMissing);
    QCOMPARE(launcher.findAssociatedProgram(QStringLiteral("\"\"")).status, Status::FileMissing);
}

void TestQtLauncher::typeWithoutDefaultApplication()
{
    // A PNG picture: no application of this desktop takes it.
    desktop->write("picture.png", QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"));
    QtLauncher launcher;
    QCOMPARE(launcher.findAssociatedProgram('"' + desktop->path("picture.png") + '"').status,
             Status::NoAssociation);
}

void TestQtLauncher::defaultApplicationWithItsArguments()
{
    desktop->write("a b;c/memo.cdt", "#\x83\x65\x83X\x83g\r\n\x82\xa0\r\n");
    QtLauncher launcher;
    const Association found =
            launcher.findAssociatedProgram('"' + desktop->path("a b;c/memo.cdt") + '"');
    QCOMPARE(found.status, Status::Found);
    QCOMPARE(found.program, desktop->path("bin/stub editor"));
    QCOMPARE(found.arguments, (QStringList{desktop->path("args"), "--flag"}));
}

void TestQtLauncher::terminalProgramRunsInTheTerminal()
{
    desktop->write("table.csv", "a,b\n1,2\n");
    QtLauncher launcher;
    const Association found = launcher.findAssociatedProgram('"' + desktop->path("table.csv") + '"');
    QCOMPARE(found.status, Status::Found);
    QCOMPARE(found.program, desktop->path("bin/x-terminal-emulator"));
    QCOMPARE(found.arguments, (QStringList{"-e", desktop->path("bin/stub editor"), "-q"}));
}

void TestQtLauncher::startRunsWithoutAShell()
{
    QtLauncher launcher;
    const QString odd = desktop->path("x; touch pwned $(id).cdt");
    QVERIFY(launcher.start(desktop->path("bin/stub editor"), {desktop->path("args"), odd}));
    const auto recorded = [] {
        QFile args(desktop->path("args"));
        return args.open(QIODevice::ReadOnly) ? QString::fromUtf8(args.readAll()) : QString();
    };
    QTRY_COMPARE(recorded(), odd + '\n');
    QVERIFY(!QFile::exists(QDir::current().filePath("pwned")));
    QVERIFY(!launcher.start(desktop->path("bin/nothing here"), {}));
}

int main(int argc, char **argv)
{
    TestDesktop testDesktop;
    desktop = &testDesktop;
    QCoreApplication app(argc, argv);
    TestQtLauncher test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qtlauncher.moc"
