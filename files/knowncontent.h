#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <QString>

#include <optional>

/** What tells one content of a file from another without keeping its bytes. */
struct ContentDigest
{
    qint64 size = 0;
    QByteArray hash; ///< of all the bytes; empty for a file too large to have been read

    bool operator==(const ContentDigest &) const = default;
};

/** The digest of bytes given a piece at a time, in order. */
class Digester
{
public:
    void add(QByteArrayView bytes)
    {
        m_hash.addData(bytes);
        m_size += bytes.size();
    }
    ContentDigest result() const { return {m_size, m_hash.result()}; }

    static ContentDigest of(QByteArrayView bytes)
    {
        Digester digester;
        digester.add(bytes);
        return digester.result();
    }

private:
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_size = 0;
};

/** What the program last read from or wrote to the file in use: what tells another
    program's changes from its own. */
struct KnownContent
{
    QString path;
    std::optional<ContentDigest> content; ///< nothing when the file was not there

    /** Whether writing `target` would replace content the user has not seen: the file
        holds something, and it is not what the program last read from or wrote to it. A
        file that is missing or empty has nothing to lose. */
    bool wouldOverwriteUnseen(const QString &target, const std::optional<ContentDigest> &onDisk) const
    {
        if (!onDisk || onDisk->size == 0)
            return false;
        return target != path || onDisk != content;
    }
};
