#pragma once

#include <functional>

class QObject;

/** Turns SIGTERM, SIGINT and SIGHUP into an orderly shutdown: `onSignal` runs on the event
    loop, so the program can save its settings as it does when the window is closed. */
void handleTerminationSignals(QObject *context, std::function<void()> onSignal);

/** Runs `onDisplayLost` once, on the main thread, when Qt reports that the connection to the
    display server broke: Qt ends the process right after saying so, with no shutdown and no
    event handler to follow, so this is the last moment to save. */
void handleDisplayLoss(std::function<void()> onDisplayLost);
