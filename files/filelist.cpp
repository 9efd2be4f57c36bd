#include "files/filelist.h"

#include "platform/filesystem.h"

#include <QDir>

#include <algorithm>

namespace filelist {

namespace {

bool isWindowsForm(const QString &path)
{
    // A drive letter ("C:\") and a UNC path ("\\server\share\") carry a backslash as well.
    if (path.contains(u'\\'))
        return true;
    return path.size() >= 3 && path.at(0).isLetter() && path.at(0).unicode() < 128
            && path.at(1) == u':' && path.at(2) == u'/';
}

} // namespace

QList<Entry> existingEntries(const QStringList &paths)
{
    QList<Entry> entries;
    for (const QString &path : paths) {
        if (const auto name = filesystem::existingFileName(path))
            entries.append({*name, path});
    }
    return entries;
}

QString resolveListedPath(const QString &path, const QString &folder)
{
    if (filesystem::existingFileName(path) || !isWindowsForm(path))
        return path;
    const QString name = path.mid(std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')) + 1);
    if (name.isEmpty())
        return path;
    const QString exact = filesystem::joinPath(folder, name);
    if (filesystem::existingFileName(exact))
        return exact;
    // Windows found names whatever their case.
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString &candidate : names) {
        const QString found = filesystem::joinPath(folder, candidate);
        if (candidate.compare(name, Qt::CaseInsensitive) == 0 && filesystem::existingFileName(found))
            return found;
    }
    return path;
}

QList<Entry> restoredEntries(const QStringList &accepted)
{
    QList<Entry> entries;
    entries.reserve(accepted.size());
    for (const QString &path : accepted)
        entries.append({filesystem::namePart(path), path});
    return entries;
}

int selectionAfterDelete(int removed, int remaining)
{
    if (remaining <= 0)
        return -1;
    return removed >= remaining ? remaining - 1 : removed;
}

} // namespace filelist
