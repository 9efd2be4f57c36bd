// The Qt and desktop services behind the fakes: what only the real dialog and the real
// desktop lookup show.
#include "platform/qtfiledialogs.h"
#include "platform/qtlauncher.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using Status = Association::Status;

namespace {

QTemporaryDir *home = nullptr; // the files, and the desktop's data and config folders

QString path(const QString &name) { return home->filePath(name); }

void write(const QString &name, const QByteArray &bytes = {}, bool executable = false)
{
    QDir().mkpath(QFileInfo(path(name)).path());
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

/** Runs `act` on the file dialog from inside its event loop every 20 ms while it lives, so an
    answer the dialog was not ready for (its folder still loading) is given again. Any other
    box (a question of the dialog's own) is counted and closed: it would wait for ever. */
struct Driver
{
    QTimer timer;
    int otherBoxes = 0;
    explicit Driver(std::function<void(QFileDialog &)> act)
    {
        QObject::connect(&timer, &QTimer::timeout, &timer, [this, act] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<QFileDialog *>(modal))
                act(*dialog);
            else if (auto *box = qobject_cast<QDialog *>(modal))
                ++otherBoxes, box->reject();
        });
        timer.start(20);
    }
};

/** Types `name` into the dialog's file name box, in the folder "files", as a user would. */
void type(QFileDialog &dialog, const QString &name)
{
    if (dialog.directory() != QDir(path("files")))
        dialog.setDirectory(path("files"));
    dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
}

} // namespace

class TestQtPlatform : public QObject
{
    Q_OBJECT

private slots:
    void dialogsAreSetUpAndCancelled();
    void openTakesSeveralFilesAsFullPaths();
    void saveTakesATypedNameWithoutAskingOrAddingAnExtension();
    void associatedProgram_data();
    void associatedProgram();
    void startRunsWithoutAShell();
};

void TestQtPlatform::dialogsAreSetUpAndCancelled()
{
    QStringList seen;
    Driver driver([&seen](QFileDialog &d) {
        seen << d.windowTitle() + "|" + d.labelText(QFileDialog::LookIn) + "|" + d.labelText(QFileDialog::FileName) + "|"
                        + d.labelText(QFileDialog::FileType) + "|" + d.labelText(QFileDialog::Accept) + "|"
                        + d.labelText(QFileDialog::Reject) + "|" + d.nameFilters().join(u'|') + "|"
                        + d.selectedNameFilter() + "|" + d.defaultSuffix()
                        + QStringLiteral("|mode %1 %2, Qt's own %3, no question %4")
                                  .arg(d.acceptMode()).arg(d.fileMode())
                                  .arg(d.testOption(QFileDialog::DontUseNativeDialog))
                                  .arg(d.testOption(QFileDialog::DontConfirmOverwrite));
        d.reject();
    });
    QCOMPARE(QtFileDialogs().openFiles(), std::nullopt);
    QCOMPARE(QtFileDialogs().saveFile(), std::nullopt);
    const QString filters = "|すべてのファイル (*.*)|ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙ (*.cdt)|ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙ (*.cdt)||mode ";
    QCOMPARE(seen, (QStringList{"開く|ファイルの場所(&I):|ファイル名(&N):|ファイルの種類(&T):|開く(&O)|キャンセル"
                                        + filters + "0 3, Qt's own 1, no question 1",
                                "名前を付けて保存|ファイルの場所(&I):|ファイル名(&N):|ファイルの種類(&T):|保存(&S)|キャンセル"
                                        + filters + "1 0, Qt's own 1, no question 1"}));
}

void TestQtPlatform::openTakesSeveralFilesAsFullPaths()
{
    for (const char *name : {"b.cdt", "a.cdt", "c.txt", "notes"})
        write("files/" + QString::fromLatin1(name));
    QStringList listed;
    int boxes = 0;
    // Types the names, picks "all files" and clicks Open once the folder has been read.
    const auto open = [&](const QString &typed) {
        int ticks = 0;
        Driver driver([&](QFileDialog &dialog) {
            if (ticks++ == 0) {
                type(dialog, typed);
                QTest::keyClick(dialog.findChild<QComboBox *>("fileTypeCombo"), Qt::Key_Up);
            }
            const auto *view = dialog.findChild<QListView *>(QStringLiteral("listView"));
            listed.clear();
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
            QPushButton *button = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open);
            // Clicked after this tick, so that a box it brings up meets the driver.
            if (ticks >= 150)
                dialog.reject(); // it would not close
            else if (listed.size() == 4 || ticks >= 100)
                QMetaObject::invokeMethod(button, [button] { QTest::mouseClick(button, Qt::LeftButton); },
                                          Qt::QueuedConnection);
        });
        const auto chosen = QtFileDialogs().openFiles();
        boxes += driver.otherBoxes;
        return chosen ? QSet<QString>(chosen->begin(), chosen->end()) : QSet<QString>();
    };
    QCOMPARE(open("\"b.cdt\" \"a.cdt\""), (QSet<QString>{path("files/a.cdt"), path("files/b.cdt")}));
    // "*.*" keeps its caption but lists names without a dot too.
    listed.sort();
    QCOMPARE(listed, (QStringList{"a.cdt", "b.cdt", "c.txt", "notes"}));
    // A name that is not there closes the dialog without a word; the caller leaves it out.
    QCOMPARE(open("gone.cdt"), QSet<QString>{path("files/gone.cdt")});
    QCOMPARE(boxes, 0);
}

void TestQtPlatform::saveTakesATypedNameWithoutAskingOrAddingAnExtension()
{
    write("files/old");
    Driver driver([](QFileDialog &dialog) {
        type(dialog, "old");
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    QCOMPARE(QtFileDialogs().saveFile(), path("files/old"));
    QCOMPARE(driver.otherBoxes, 0);
}

void TestQtPlatform::associatedProgram_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes"); // null: not there
    QTest::addColumn<Association>("found");
    const auto failed = [](Status status) { return Association{status, {}, {}}; };
    QTest::newRow("missing file") << "gone.cdt" << QByteArray() << failed(Status::FileMissing);
    QTest::newRow("missing folder") << "gone/x.cdt" << QByteArray() << failed(Status::PathMissing);
    QTest::newRow("empty path") << "" << QByteArray() << failed(Status::FileMissing);
    QTest::newRow("a type no application takes")
            << "picture.png" << QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") << failed(Status::NoAssociation);
    QTest::newRow("the default application, its arguments first")
            << "a b;c/memo.cdt" << QByteArray("#\x83\x65\x83X\x83g\r\n\x82\xa0\r\n")
            << Association{Status::Found, path("bin/stub editor"), {path("args"), "--flag"}};
    QTest::newRow("a terminal program runs in the terminal")
            << "table.csv" << QByteArray("a,b\n1,2\n")
            << Association{Status::Found, path("bin/x-terminal-emulator"), {"-e", path("bin/stub editor"), "-q"}};
}

void TestQtPlatform::associatedProgram()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(Association, found);
    if (!bytes.isNull())
        write(file, bytes);
    const Association result = QtLauncher().findAssociatedProgram('"' + (file.isEmpty() ? file : path(file)) + '"');
    QCOMPARE(result.status, found.status);
    QCOMPARE(result.program, found.program);
    QCOMPARE(result.arguments, found.arguments);
}

void TestQtPlatform::startRunsWithoutAShell()
{
    const QString odd = path("x; touch pwned $(id).cdt");
    QVERIFY(QtLauncher().start(path("bin/stub editor"), {path("args"), odd}));
    const auto recorded = [] {
        QFile args(path("args"));
        return args.open(QIODevice::ReadOnly) ? QString::fromUtf8(args.readAll()) : QString();
    };
    QTRY_COMPARE(recorded(), odd + '\n');
    QVERIFY(!QFile::exists(QDir::current().filePath("pwned")));
    QVERIFY(!QtLauncher().start(path("bin/nothing here"), {}));
}

int main(int argc, char **argv)
{
    // Before GIO reads anything: the system's MIME database stays visible, its applications do not.
    QTemporaryDir dir;
    home = &dir;
    QDir().mkpath(path("system"));
    QFile::link(QStringLiteral("/usr/share/mime"), path("system/mime"));
    qputenv("XDG_DATA_DIRS", path("system").toUtf8());
    qputenv("XDG_DATA_HOME", path("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", path("config").toUtf8());
    // Records its arguments, one a line, in the file named by its first one.
    write("bin/stub editor", "#!/bin/sh\nout=\"$1\"; shift\nprintf '%s\\n' \"$@\" > \"$out\"\n", true);
    const QByteArray stub = "Exec=\"" + path("bin/stub editor").toUtf8() + "\" ";
    write("data/applications/stub.desktop", "[Desktop Entry]\nType=Application\nName=Stub\n"
          "MimeType=text/plain;\n" + stub + path("args").toUtf8() + " --flag %f\n");
    write("data/applications/console.desktop", "[Desktop Entry]\nType=Application\n"
          "Name=Console editor\nMimeType=text/csv;\nTerminal=true\n" + stub + "-q %F\n");
    write("config/mimeapps.list", "[Default Applications]\ntext/plain=stub.desktop\ntext/csv=console.desktop\n");
    // The terminal found first on the path is the test's own.
    write("bin/x-terminal-emulator", "#!/bin/sh\nexit 0\n", true);
    qputenv("PATH", path("bin").toUtf8() + ':' + qgetenv("PATH"));
    QApplication app(argc, argv);
    TestQtPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_qtplatform.moc"
