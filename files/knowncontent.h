#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

/** The bytes the program last read from or wrote to the file in use: what tells another
    program's changes from its own. */
struct KnownContent
{
    QString path;
    std::optional<QByteArray> bytes; ///< nothing when the file was not there

    /** Whether writing `target` would replace content the user has not seen: the file
        holds something, and it is not what the program last read from or wrote to it. A
        file that is missing or empty has nothing to lose. */
    bool wouldOverwriteUnseen(const QString &target, const std::optional<QByteArray> &onDisk) const
    {
        if (!onDisk || onDisk->isEmpty())
            return false;
        return target != path || onDisk != bytes;
    }
};
