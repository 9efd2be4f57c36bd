#include "app/program.h"
#include "platform/qtclipboard.h"
#include "platform/qtfiledialogs.h"
#include "platform/qtlauncher.h"
#include "platform/qtmessageboxes.h"
#include "platform/qtwindoworder.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace {

/** Whether Qt will find a display to open windows on. Without one Qt prints pages of
    advice and aborts; one clear line is kinder. */
bool haveDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true; // offscreen, vnc and friends need no display
    return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

} // namespace

int main(int argc, char *argv[])
{
    if (!haveDisplay()) {
        std::fputs("snipdeck: no display to open a window on (DISPLAY is not set)\n", stderr);
        return EXIT_FAILURE;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Snipdeck"));
    QApplication::setApplicationVersion(QStringLiteral("0.1.22"));
    QApplication::setQuitOnLastWindowClosed(false);

    QtClipboard clipboard;
    QtMessageBoxes messages;
    QtFileDialogs fileDialogs;
    QtWindowOrder windowOrder;
    QtLauncher launcher;
    Program program({clipboard, messages, fileDialogs, windowOrder, launcher},
                    QDir::currentPath(), [] { QCoreApplication::exit(0); });
    program.start();
    if (program.hasEnded())
        return EXIT_SUCCESS;
    return QApplication::exec();
}
