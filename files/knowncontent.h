#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHashFunctions>
#include <QString>

#include <algorithm>
#include <array>
#include <optional>

/** What tells one content of a file from another without keeping its bytes. */
struct ContentDigest
{
    qint64 size = 0;
    QByteArray hash; ///< of all the bytes; empty for a file too large to have been read

    bool operator==(const ContentDigest &) const = default;
};

/** The digest of bytes given a piece at a time, in order, however they are cut. A keyed
    128-bit hash, taken in blocks at fixed places: it tells a file another program saved
    from the one read as surely as a cryptographic one would (nobody gains from forging a
    collision with a file they can write anyway), and it costs next to nothing where a
    SHA-256 would take longer than reading the file. Kept within a run, never stored. */
class Digester
{
public:
    void add(QByteArrayView bytes)
    {
        m_size += bytes.size();
        if (!m_block.isEmpty()) {
            const qsizetype take = std::min(kBlock - m_block.size(), bytes.size());
            m_block.append(bytes.first(take));
            bytes = bytes.sliced(take);
            if (m_block.size() < kBlock)
                return;
            mix(m_lanes, m_block);
            m_block.clear();
        }
        for (; bytes.size() >= kBlock; bytes = bytes.sliced(kBlock))
            mix(m_lanes, bytes.first(kBlock));
        m_block.append(bytes);
    }
    ContentDigest result() const
    {
        std::array<size_t, 2> lanes = m_lanes;
        mix(lanes, m_block);
        return {m_size, QByteArray(reinterpret_cast<const char *>(lanes.data()),
                                   qsizetype(sizeof lanes))};
    }

    static ContentDigest of(QByteArrayView bytes)
    {
        Digester digester;
        digester.add(bytes);
        return digester.result();
    }

private:
    static constexpr qsizetype kBlock = 64 * 1024;

    static void mix(std::array<size_t, 2> &lanes, QByteArrayView block)
    {
        for (size_t &lane : lanes)
            lane = qHashBits(block.data(), size_t(block.size()), lane);
    }

    std::array<size_t, 2> m_lanes{size_t(0x243F6A8885A308D3ull), size_t(0x13198A2E03707344ull)};
    QByteArray m_block;
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
