#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/** The decisions behind the read-file list, apart from the window that shows it: which
    chosen files go in, what a restored list shows, and which entry is selected after an
    edit. Indexes follow the list box: -1 means no selection. */
namespace filelist {

/** One entry of the list: the name part shown and the full path behind it. */
struct Entry
{
    QString name;
    QString path;

    friend bool operator==(const Entry &, const Entry &) = default;
};

/** The chosen paths that name an existing file, each with its name part, in the order
    given; the others are left out without a word. */
QList<Entry> existingEntries(const QStringList &paths);

/** The file a listed path stands for. A path that names an existing file is taken as it
    is. A path in Windows form (a drive letter, a UNC path or backslash separators) that
    names nothing, as a Start.ini brought over from Windows lists them, stands for the file
    of its name part in `folder`: the exact name if it is there, else the first that differs
    only in case. Otherwise the path is kept, to be reported missing. */
QString resolveListedPath(const QString &path, const QString &folder);

/** Every accepted path with its name part, the name empty for a file that is gone. */
QList<Entry> restoredEntries(const QStringList &accepted);

/** The selection after entry `removed` was taken out, `remaining` entries left: the entry
    that moved into its place, the new last one when the last was removed, -1 when the list
    is empty. */
int selectionAfterDelete(int removed, int remaining);

} // namespace filelist
