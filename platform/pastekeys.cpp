#include "platform/pastekeys.h"

#include <QByteArrayList>

namespace pastekeys {

Keys forWindowClass(const QByteArray &wmClass)
{
    // Terminals that paste the clipboard with Ctrl+Shift+V: VTE's (GNOME, MATE, Xfce,
    // Tilix, Terminator, LXTerminal, Sakura, Guake), KDE's and LXQt's, and the GPU ones.
    static const QByteArrayList controlShiftV = {
        "gnome-terminal", "gnome-terminal-server", "mate-terminal", "xfce4-terminal",
        "tilix", "terminator", "lxterminal", "sakura", "guake", "tilda", "konsole",
        "yakuake", "qterminal", "alacritty", "kitty", "terminology", "kgx",
        "org.gnome.console", "st", "st-256color", "wezterm", "org.wezfurlong.wezterm",
        "terminix", "cool-retro-term", "deepin-terminal"};
    // Terminals whose paste keys (Shift+Insert) take the primary selection, not the
    // clipboard, and where Ctrl+V types a control character: better left as they are.
    static const QByteArrayList leftAlone = {"xterm", "uxterm", "urxvt", "rxvt",
                                             "rxvt-unicode", "aterm", "eterm", "kterm"};
    for (const QByteArray &name : wmClass.split('\0')) {
        const QByteArray lower = name.toLower();
        if (leftAlone.contains(lower))
            return Keys::LeaveAlone;
        if (controlShiftV.contains(lower))
            return Keys::ControlShiftV;
    }
    return Keys::ControlV;
}

} // namespace pastekeys
