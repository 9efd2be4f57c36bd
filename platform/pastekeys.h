#pragma once

#include <QByteArray>

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

} // namespace pastekeys
