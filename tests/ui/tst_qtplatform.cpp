// The Qt and desktop services behind the fakes: what only the real dialog and the real
// desktop show.
#include "datatable.h"

#include "platform/filesystem.h"
#include "platform/qtfiledialogs.h"
#include "platform/qtlauncher.h"
#include "platform/qtmessageboxes.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Status = Association::Status;

namespace {

QTemporaryDir *home = nullptr; // the files, and the desktop's data and config folders

QString path(const QString &name) { return home->filePath(name); }

void write(const QString &name, const QByteArray &bytes = {}, bool executable = false)
{
    if (!QDir().mkpath(QFileInfo(path(name)).path()) || !filesystem::writeWholeFile(path(name), bytes)
        || (executable && !QFile::setPermissions(path(name), QFile::permissions(path(name)) | QFileDevice::ExeOwner)))
        qFatal("cannot write %s", qPrintable(name));
}

} // namespace

class TestQtPlatform : public QObject
{
    Q_OBJECT

private slots:
    void fileDialog_data()
    {
        // typed: nothing if cancelled
        columns<bool, QString, QStringList>({"save", "typed", "chosen"});
        QTest::newRow("open several") << false << "\"b.cdt\" \"a.cdt\"" << QStringList{"a.cdt", "b.cdt"};
        // A name that is not there closes the dialog without a word; the caller leaves it out.
        QTest::newRow("open a name not there") << false << "gone.cdt" << QStringList{"gone.cdt"};
        QTest::newRow("open cancelled") << false << "" << QStringList{"cancelled"};
        QTest::newRow("save over a file, no extension added") << true << "old" << QStringList{"old"};
        QTest::newRow("save cancelled") << true << "" << QStringList{"cancelled"};
    }

    void fileDialog()
    {
        QFETCH(bool, save);
        QFETCH(QString, typed);
        for (const char *name : {"b.cdt", "a.cdt", "c.txt", "notes", "old"})
            write("files/" + QString::fromLatin1(name));
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); // as the program has it
        // From inside the dialog's event loop, every 20 ms: reads how it is set up, types the
        // names, picks "all files" and clicks its button once the folder has been read. Any other
        // box (a question of the dialog's own) would wait for ever: it is counted and closed.
        QString seen;
        QStringList listed;
        int ticks = 0;
        int otherBoxes = 0;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, &driver, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            auto *d = qobject_cast<QFileDialog *>(modal);
            if (!d && qobject_cast<QDialog *>(modal))
                ++otherBoxes, static_cast<QDialog *>(modal)->reject();
            if (!d)
                return;
            if (ticks++ == 0) {
                for (const auto label : {QFileDialog::LookIn, QFileDialog::FileName, QFileDialog::FileType,
                                         QFileDialog::Accept, QFileDialog::Reject})
                    seen += d->labelText(label) + "|";
                // Qt's own dialog everywhere, picking several files or any name; the missing question
                // and extension show below.
                seen = d->windowTitle() + "|" + seen + d->nameFilters().join(u'|') + "|" + d->selectedNameFilter()
                        + (d->testOption(QFileDialog::DontUseNativeDialog) ? "|Qt's own" : "") + "|" + QString::number(d->fileMode());
                if (typed.isEmpty())
                    return d->reject();
                d->setDirectory(path("files"));
                d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
                QTest::keyClick(d->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")), Qt::Key_Up);
            }
            const auto *view = d->findChild<QListView *>(QStringLiteral("listView"));
            listed.clear();
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString() + " "
                                + view->model()->index(row, 1, view->rootIndex()).data().toString();
            QPushButton *button = d->findChild<QDialogButtonBox *>()->button(save ? QDialogButtonBox::Save
                                                                                   : QDialogButtonBox::Open);
            if (ticks >= 150)
                d->reject(); // it would not close
            else if (listed.size() == 5 || ticks >= 100) // clicked after this tick, for a box to meet the driver
                QMetaObject::invokeMethod(button, [button] { QTest::mouseClick(button, Qt::LeftButton); },
                                          Qt::QueuedConnection);
        });
        driver.start(20);
        std::optional<QStringList> result = save ? std::nullopt : QtFileDialogs().openFiles();
        if (const auto one = save ? QtFileDialogs().saveFile() : std::nullopt)
            result = QStringList{*one};
        QStringList names = result.value_or(QStringList{"cancelled"}).replaceInStrings(path("files/"), QString());
        names.sort();
        QTEST(names, "chosen");
        QCOMPARE(otherBoxes, 0);
        QCOMPARE(seen, (save ? QStringLiteral("名前を付けて保存|ファイルの場所(&I):|ファイル名(&N):|ファイルの種類(&T):|保存(&S)|")
                             : QStringLiteral("開く|ファイルの場所(&I):|ファイル名(&N):|ファイルの種類(&T):|開く(&O)|"))
                         + "キャンセル|すべてのファイル (*.*)|ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙ (*.cdt)|ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙ (*.cdt)|Qt's own|"
                         + (save ? "0" : "3"));
        // "*.*" keeps its caption but lists names without a dot too; sizes are written in Japanese.
        listed.sort();
        QCOMPARE(listed.join(u','), typed.isEmpty() ? QString() : QStringLiteral("a.cdt 0 バイト,b.cdt 0 バイト,c.txt 0 バイト,notes 0 バイト,old 0 バイト"));
    }

    void messageBox_data()
    {
        using Icon = MessageBoxes::Icon;
        using Buttons = MessageBoxes::Buttons;
        // pressed: the button the user presses
        columns<Icon, Buttons, bool, QString, QString>({"icon", "buttons", "overOnTop", "pressed", "seen"});
        QTest::newRow("a notice") << Icon::None << Buttons::Ok << false << "OK" << "0|OK|OK|modal|Ok";
        QTest::newRow("a warning over windows kept on top") << Icon::Exclamation << Buttons::Ok << true << "OK" << "2|OK|OK|modal|on top|Ok";
        QTest::newRow("a question, answered OK") << Icon::Question << Buttons::OkCancel << false << "OK" << "4|OK,Cancel|OK|modal|Ok";
        QTest::newRow("a question, cancelled") << Icon::Question << Buttons::OkCancel << true << "Cancel" << "4|OK,Cancel|OK|modal|on top|Cancel";
    }

    void messageBox()
    {
        QFETCH(bool, overOnTop);
        QWidget window; // the program's window the box comes from
        window.setWindowFlag(Qt::WindowStaysOnTopHint, overOnTop);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QStringList seen;
        QTimer::singleShot(0, [&] { // inside the box's own event loop
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            QStringList buttons;
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            // The message may break between its phrases (joined words), the path below it nowhere.
            const QString text = box->text();
            const bool phrased = text.section(u'\n', 0, 0).contains(QChar(0x2060)) && !text.section(u'\n', 1).contains(QChar(0x2060));
            seen << box->windowTitle() + "|" + QString(text).remove(QChar(0x2060)) + (phrased ? "" : " unphrased")
                 << QString::number(box->icon()) << buttons.join(u',') << box->defaultButton()->text()
                 << (box->windowModality() == Qt::ApplicationModal ? "modal" : "modeless");
            if (box->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
                seen << "on top";
            for (QAbstractButton *button : box->buttons())
                if (button->text() == fetched<QString>("pressed"))
                    button->click();
        });
        const auto answer = QtMessageBoxes().show(QStringLiteral("ﾌｧｲﾙの内容は失われます。新規作成しますか？\r\nﾌｧｲﾙ:/a b/新規.cdt"), QStringLiteral("Snipdeck"),
                                                  fetched<MessageBoxes::Icon>("icon"), fetched<MessageBoxes::Buttons>("buttons"));
        seen << (answer == MessageBoxes::Answer::Ok ? "Ok" : "Cancel");
        QCOMPARE(seen.join(u'|'), "Snipdeck|ﾌｧｲﾙの内容は失われます。新規作成しますか？\nﾌｧｲﾙ:/a b/新規.cdt|" + fetched<QString>("seen"));
    }

    void associatedProgram_data()
    {
        // bytes: null if not there; given: what the program gets when started on the file
        columns<QString, QByteArray, Association, QString>({"file", "bytes", "found", "given"});
        const auto failed = [](Status status) { return Association{status, {}, {}}; };
        QTest::newRow("missing file") << "gone.cdt" << QByteArray() << failed(Status::FileMissing) << "";
        QTest::newRow("missing folder") << "gone/x.cdt" << QByteArray() << failed(Status::PathMissing) << "";
        QTest::newRow("a type no application takes")
                << "picture.png" << QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") << failed(Status::NoAssociation) << "";
        // Started without a shell: the blank and the ";" stay in the one argument.
        QTest::newRow("the default application, its arguments first")
                << "a b;c $(id).cdt" << QByteArray("#\x83\x65\x83X\x83g\r\n\x82\xa0\r\n")
                << Association{Status::Found, path("bin/stub editor"), {path("args"), "--flag"}}
                << "--flag\n" + path("a b;c $(id).cdt") + "\n";
        QTest::newRow("a terminal program runs in the terminal")
                << "table.csv" << QByteArray("a,b\n1,2\n")
                << Association{Status::Found, path("bin/x-terminal-emulator"), {"-e", path("bin/stub editor"), "-q"}} << "";
    }

    void associatedProgram()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, given);
        if (!bytes.isNull())
            write(file, bytes);
        Association result = QtLauncher().findAssociatedProgram('"' + path(file) + '"');
        const auto fields = [](const Association &a) { return QStringList{QString::number(int(a.status)), a.program} + a.arguments; };
        QCOMPARE(fields(result), fields(fetched<Association>("found")));
        if (given.isEmpty())
            return;
        QVERIFY(QtLauncher().start(result.program, result.arguments << path(file)));
        const auto recorded = [] { return QString::fromUtf8(filesystem::readWholeFile(path("args")).value_or(QByteArray())); };
        // Waited for, then compared: QTRY_COMPARE warns under -Wconversion with Qt 6.8.
        (void)QTest::qWaitFor([&] { return recorded() == given; });
        QCOMPARE(recorded(), given);
    }
};

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
