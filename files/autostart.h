#pragma once

#include <QByteArray>
#include <QString>

/** Starting the bar with the desktop session: a desktop entry in the user's autostart
    folder, which the session starts at login. */
namespace autostart {

/** Where the entry goes, and what it starts. */
struct Place
{
    QString folder;  ///< the user's autostart folder
    QString program; ///< the program to start, with its path
};

/** The user's autostart folder: $XDG_CONFIG_HOME/autostart, ~/.config/autostart when the
    variable is unset, empty or not an absolute path. */
QString folder(const QString &xdgConfigHome, const QString &home);

/** The entry's path in `folder`: named after the program's desktop entry, so that one a
    desktop's settings made for it is the same file. */
QString entryPath(const QString &folder);

/** Whether an entry can be written that starts `program` in `workingFolder`, under GLib's
    launcher and a plain desktop-entry one alike. */
bool canStart(const QString &program, const QString &workingFolder);

/** The entry that starts `program` in `workingFolder`, where it finds its Start.ini. */
QByteArray entry(const QString &program, const QString &workingFolder);

/** Whether the session starts the program: the entry is there and not switched off
    (Hidden=true, or GNOME's X-GNOME-Autostart-enabled=false). */
bool isOn(const QString &folder);

/** Writes the entry for `workingFolder` (the folder made if need be), or removes it.
    False when the folder or the file could not be written or removed, no folder is known,
    or no entry can start the program there. */
bool set(const Place &place, const QString &workingFolder, bool on);

} // namespace autostart
