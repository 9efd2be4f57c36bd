#include "app/form1.h"
#include "app/program.h"
#include "files/autosave.h"
#include "platform/folderinstance.h"
#include "platform/qtclipboard.h"
#include "platform/qtfiledialogs.h"
#include "platform/qtlauncher.h"
#include "platform/qtmessageboxes.h"
#include "platform/qtwindoworder.h"
#include "platform/sessionplatform.h"
#include "platform/terminationsignals.h"
#include "platform/x11paster.h"
#include "version.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <QDir>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

/** What a second start in the bar's folder does instead of opening another bar. */
void bringForward(Program &program)
{
    const auto forward = [](QWidget &window) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.raise();
        window.activateWindow();
    };
    forward(program.form1());
    // A dialog that has the bar disabled comes up over it, with the keys.
    for (QWidget *window : program.loadedWindows()) {
        if (window->isVisible())
            forward(*window);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // A file size limit (ulimit -f) fails a save, which says so and keeps the edit, instead
    // of ending the program with it.
    std::signal(SIGXFSZ, SIG_IGN);

    // Without a display Qt prints pages of advice and aborts; one clear line is kinder.
    sessionplatform::Decision session = sessionplatform::decide(
        sessionplatform::Environment::current(), sessionplatform::platformArgument(argc, argv));
    if (!session.displayFound) {
        std::fputs("snipdeck: no display to open a window on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set)\n", stderr);
        return EXIT_FAILURE;
    }

    // A forced platform goes in as an argument, not through QT_QPA_PLATFORM, so that the
    // programs Snipdeck starts (the editor for a clip file) still choose their own.
    char platformOption[] = "-platform";
    std::vector<char *> args(argv, argv + argc);
    if (session.forcedPlatform)
        args.insert(args.begin() + 1, {platformOption, session.forcedPlatform->data()});
    args.push_back(nullptr);
    int qtArgc = static_cast<int>(args.size()) - 1;

    QApplication app(qtArgc, args.data());
    QApplication::setApplicationName(QStringLiteral("Snipdeck"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(snipdeck::build::versionMajor)
                                                .arg(snipdeck::build::versionMinor)
                                                .arg(snipdeck::build::versionPatch));
    QGuiApplication::setDesktopFileName(QStringLiteral("snipdeck"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The interface is Japanese whatever the locale: so are Qt's own buttons and dialogs
    // (キャンセル in a message box, the file dialog's labels), when Debian's translations are there.
    QTranslator qtTranslation;
    if (qtTranslation.load(QStringLiteral("qtbase_ja"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);
    // The file dialogs' columns too (sizes in バイト, dates, the kinds of file), and whatever
    // else Qt writes for the locale. Numbers are written as in Japan: as the program writes them.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));

    // One bar per folder: a second start there brings the first forward instead.
    FolderInstance instance(FolderInstance::socketPath(
            QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), QDir::currentPath()));
    if (instance.claim() == FolderInstance::Claim::Another)
        return EXIT_SUCCESS;

    QtClipboard clipboard;
    QtMessageBoxes messages;
    QtFileDialogs fileDialogs;
    QtWindowOrder windowOrder;
    QtLauncher launcher;
    X11Paster paster(session.otherWindowsReachable);
    Program program({clipboard, messages, fileDialogs, windowOrder, launcher, paster},
                    QDir::currentPath(), [] { QCoreApplication::exit(0); });
    program.session().autostart = {
            autostart::folder(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath()),
            QCoreApplication::applicationFilePath()};
    QApplication::setWindowIcon(program.icon()); // message boxes and Qt's dialogs wear it too
    program.start();
    if (program.hasEnded())
        return EXIT_SUCCESS;
    QObject::connect(&instance, &FolderInstance::comeForward, &program.form1(),
                     [&program] { bringForward(program); });

    // Only once start-up is over: closing earlier would save settings not yet read.
    handleTerminationSignals(&app, [&program] { program.form1().close(); });
    // The session may end without the shutdown that writes Start.ini: the display goes
    // away first at logout, or the process is killed. Start.ini follows every change soon
    // after it is made, and once more when the session manager asks or the display is lost.
    Autosave autosave(program.form1().GetInitFileName(),
                      [&program] { return program.form1().startIniContent().bytes; });
    autosave.start();
    const auto saveForSession = [&autosave](QSessionManager &manager) {
        // The autostart entry starts the bar in its folder; a restart by the session
        // manager would start it wherever the manager runs it, as a second bar.
        manager.setRestartHint(QSessionManager::RestartNever);
        autosave.saveNow();
    };
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &autosave, saveForSession);
    QObject::connect(&app, &QGuiApplication::saveStateRequest, &autosave, saveForSession);
    handleDisplayLoss([&autosave] { autosave.saveNow(); });
    // Another program's save of the file in use reloads the bar. The watch is no part of
    // coming up: it starts once the event loop runs.
    QTimer::singleShot(0, &program.form1(), &Form1::watchFileInUse);
    const int status = QApplication::exec();
    handleDisplayLoss(nullptr);
    return status;
}
