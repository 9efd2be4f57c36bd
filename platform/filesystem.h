#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

/** The few file-system services the program relies on. */
namespace filesystem {

/** The existence test: the name part of the file when `path` names an ordinary file
    (links followed) that is not a folder and not hidden; nothing otherwise. */
std::optional<QString> existingFileName(const QString &path);

/** The name part of an existing file, or the empty string. */
QString namePart(const QString &path);

/** Joins a folder and a file name with the platform separator, as plain text. */
QString joinPath(const QString &folder, const QString &name);

/** Reads a whole file. On failure returns nothing and puts the reason in `error`. */
std::optional<QByteArray> readWholeFile(const QString &path, QString *error = nullptr);

/** What tells that a file has changed without reading it: which file it is, its size and
    its times, to the nanosecond where the file system keeps them. */
struct Stamp
{
    qint64 device = 0;
    qint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;
    qint64 changedSeconds = 0;
    qint64 changedNanoseconds = 0;

    bool operator==(const Stamp &) const = default;
};

/** The stamp of the file at `path` (links followed), nothing when there is none. */
std::optional<Stamp> stamp(const QString &path);

/** Replaces a file's content atomically: a temporary file beside it is written, synced
    and renamed over it, so a crash or a full disk leaves the previous content whole. On
    failure puts the system's reason in `error`. */
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

/** Saves a file the user keeps: as writeWholeFile() where that keeps everything, else in
    place, where the folder takes no new files or the file has other names (hard links) or
    another owner. A symbolic link stays one: the file it names is written. In place, the
    room is taken before anything is overwritten, and the old bytes wait in a journal in
    journalFolder() until the new ones are on disk. */
bool saveFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

/** Where journals of saves in place wait: $XDG_CACHE_HOME/snipdeck, or ~/.cache/snipdeck. */
QString journalFolder();

/** At start-up, after a crash in the middle of a save in place: every file in `folder`'s
    journals that holds just what the interrupted write left gets its old content back.
    A file that holds anything else (saved again since) is left alone. Returns the files
    put back. */
QStringList recoverInterruptedSaves(const QString &folder);

} // namespace filesystem
