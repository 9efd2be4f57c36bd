#include "platform/pastekeys.h"

#include <QByteArrayList>

#include <cstring>

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

std::uint32_t activeWindow(std::uint32_t type, int format, const QByteArray &value)
{
    constexpr std::uint32_t windowType = 33; // the predefined atom WINDOW
    std::uint32_t window = 0;
    if (type != windowType || format != 32 || value.size() < qsizetype(sizeof window))
        return 0;
    std::memcpy(&window, value.constData(), sizeof window);
    return window;
}

} // namespace pastekeys
