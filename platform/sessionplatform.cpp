#include "platform/sessionplatform.h"

namespace sessionplatform {

Environment Environment::current()
{
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("XDG_SESSION_TYPE"), qgetenv("WAYLAND_DISPLAY"),
            qgetenv("DISPLAY")};
}

std::optional<QByteArray> platformArgument(int argc, const char *const *argv)
{
    std::optional<QByteArray> found;
    // Read the way QGuiApplication reads it: "--platform" counts as "-platform", the
    // value is the next argument, and the last one given wins.
    for (int i = 1; i < argc; ++i) {
        QByteArray arg(argv[i]);
        if (arg.startsWith("--"))
            arg.remove(0, 1);
        if (arg == "-platform" && i + 1 < argc)
            found = QByteArray(argv[++i]);
    }
    return found;
}

namespace {

/** Whether the plugin (empty: Qt's default, which is one of these) talks to a display
    server. offscreen, vnc, eglfs and friends do not. */
bool needsDisplayServer(const QByteArray &platform)
{
    return platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
}

} // namespace

Decision decide(const Environment &env, const std::optional<QByteArray> &platformArgument)
{
    Decision decision;
    const bool userChose = platformArgument.has_value() || !env.qtQpaPlatform.isEmpty();
    const bool waylandSession = env.xdgSessionType == "wayland" || !env.waylandDisplay.isEmpty();
    const bool xwayland = !env.display.isEmpty();
    if (!userChose && waylandSession && xwayland)
        decision.forcedPlatform = QByteArrayLiteral("xcb");

    const QByteArray platform =
        decision.forcedPlatform.value_or(platformArgument.value_or(env.qtQpaPlatform));
    decision.displayFound = !needsDisplayServer(platform) || !env.display.isEmpty()
        || !env.waylandDisplay.isEmpty();
    decision.otherWindowsReachable = !waylandSession;
    return decision;
}

} // namespace sessionplatform
