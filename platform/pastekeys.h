#pragma once

#include <QByteArray>

#include <cstdint>

/** The keys that paste the clipboard in another program's window. */
namespace pastekeys {

enum class Keys {
    LeaveAlone,      ///< a program whose paste keys take another selection: left alone
    ControlV,        ///< text fields of Qt, GTK, LibreOffice, browsers
    ControlShiftV,   ///< terminal emulators, where Ctrl+V sends a control character
};

/** The keys for a window by its WM_CLASS property: instance name and class name, each
    ended by a zero byte. */
Keys forWindowClass(const QByteArray &wmClass);

/** The window a reply for the root window's _NET_ACTIVE_WINDOW names, from the reply's type,
    item size in bits and value; 0 (no window) for a reply of another type or size, or with
    no item, as a broken window manager or another client may leave it. */
std::uint32_t activeWindow(std::uint32_t type, int format, const QByteArray &value);

} // namespace pastekeys
