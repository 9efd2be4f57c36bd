#pragma once

#include <QByteArray>

#include <optional>

/** Which Qt platform plugin to start on, decided before the application object exists.

    On a Wayland session no client may keep its window above the others or put it at a
    position of its own choosing, and the bar does both. When XWayland is there the
    program therefore runs through the X11 plugin; without it, natively. A platform the
    user picked (QT_QPA_PLATFORM or -platform) always wins. */
namespace sessionplatform {

/** The variables that describe the graphical session, empty when unset. */
struct Environment
{
    QByteArray qtQpaPlatform;  ///< QT_QPA_PLATFORM
    QByteArray xdgSessionType; ///< XDG_SESSION_TYPE
    QByteArray waylandDisplay; ///< WAYLAND_DISPLAY
    QByteArray display;        ///< DISPLAY

    /** The values of this process. */
    static Environment current();
};

struct Decision
{
    /** The plugin to pass to Qt as -platform; nothing leaves the choice to Qt. */
    std::optional<QByteArray> forcedPlatform;
    /** False when the plugin Qt will use needs a display and none is set, so that the
        program can say so in one line instead of letting Qt abort. */
    bool displayFound = false;
    /** False in a Wayland session: the other programs' windows are no X clients there, even
        when this one runs through XWayland, so it can give them neither focus nor keys. */
    bool otherWindowsReachable = false;
};

/** The value of Qt's -platform (or --platform) option among the arguments, if given. */
std::optional<QByteArray> platformArgument(int argc, const char *const *argv);

Decision decide(const Environment &env, const std::optional<QByteArray> &platformArgument);

} // namespace sessionplatform
