#include "files/filelist.h"

#include "platform/filesystem.h"

namespace filelist {

QList<Entry> existingEntries(const QStringList &paths)
{
    QList<Entry> entries;
    for (const QString &path : paths) {
        if (const auto name = filesystem::existingFileName(path))
            entries.append({*name, path});
    }
    return entries;
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

int selectionAfterRestore(int remembered, int count)
{
    if (remembered >= -1 && remembered < count)
        return remembered;
    // The remembered entry was one added since the last OK, or the list shrank: the last
    // entry is the nearest one that is still there.
    return count - 1;
}

} // namespace filelist
