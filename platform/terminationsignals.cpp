#include "platform/terminationsignals.h"

#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>

#include <csignal>
#include <utility>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop does the rest.
void onSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t ignored = ::write(g_signalPipe[1], &byte, 1);
}

std::function<void()> g_onDisplayLost;
QtMessageHandler g_previousHandler = nullptr;

void onMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    g_previousHandler(type, context, message);
    // Qt's own words, just before its xcb and Wayland backends call exit(1).
    const bool displayLost = message.startsWith(u"The X11 connection broke")
            || message.startsWith(u"The Wayland connection broke");
    const QCoreApplication *app = QCoreApplication::instance();
    if (displayLost && g_onDisplayLost && app && QThread::currentThread() == app->thread())
        std::exchange(g_onDisplayLost, nullptr)();
}

} // namespace

void handleDisplayLoss(std::function<void()> onDisplayLost)
{
    g_onDisplayLost = std::move(onDisplayLost);
    if (!g_previousHandler)
        g_previousHandler = qInstallMessageHandler(onMessage);
}

void handleTerminationSignals(QObject *context, std::function<void()> onSignalReceived)
{
    if (g_signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;

    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [notifier, onSignalReceived] {
                         char byte = 0;
                         [[maybe_unused]] const ssize_t ignored = ::read(g_signalPipe[0], &byte, 1);
                         // A second signal while shutting down must not start it again.
                         notifier->setEnabled(false);
                         onSignalReceived();
                     });

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signalNumber, &action, nullptr);
}
