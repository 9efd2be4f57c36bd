#pragma once

#include <functional>

class QObject;

/** Turns SIGTERM, SIGINT and SIGHUP into an orderly shutdown: `onSignal` runs on the event
    loop, so the program can save its settings as it does when the window is closed. */
void handleTerminationSignals(QObject *context, std::function<void()> onSignal);
