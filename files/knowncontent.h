#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

/** What tells one content of a file from another without keeping its bytes. */
struct ContentDigest
{
    qint64 size = 0;
    QByteArray hash; ///< of all the bytes; empty for a file too large to have been read

    bool operator==(const ContentDigest &) const = default;
};

/** The digest of bytes given a piece at a time, in order, however they are cut. A 128-bit
    hash of two lanes that each take every byte, 16 at a time, through a 64-bit multiply,
    in blocks at fixed places: it tells a file another program saved from the one read as
    surely as a cryptographic one would (nobody gains from forging a collision with a file
    they can write anyway), at a few per cent of the cost of reading the file. Kept within
    a run, never stored. */
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
        std::array<quint64, 2> lanes = m_lanes;
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
    static constexpr quint64 kKeys[2] = {0xA4093822299F31D0ull, 0x082EFA98EC4E6C89ull};

    /** The 128-bit product of `a` and `b`, its halves folded into one. */
    static quint64 multiplyFold(quint64 a, quint64 b)
    {
        __extension__ using Wide = unsigned __int128; // GCC's and Clang's, on every 64-bit target
        const Wide product = static_cast<Wide>(a) * b;
        return quint64(product) ^ quint64(product >> 64);
    }

    static void mix(std::array<quint64, 2> &lanes, QByteArrayView block)
    {
        const char *p = block.data();
        qsizetype left = block.size();
        quint64 words[2];
        const auto take = [&lanes, &words] {
            for (size_t lane = 0; lane < lanes.size(); ++lane)
                lanes[lane] = multiplyFold(words[0] ^ kKeys[lane], words[1] ^ lanes[lane]);
        };
        for (; left >= qsizetype(sizeof words); p += sizeof words, left -= sizeof words) {
            std::memcpy(words, p, sizeof words);
            take();
        }
        // The last bytes, padded, with how many they are: "ab" and "ab\0" differ.
        words[0] = words[1] = 0;
        if (left > 0) // an empty block may have no bytes to point at
            std::memcpy(words, p, size_t(left));
        words[1] ^= quint64(left) << 56;
        take();
    }

    std::array<quint64, 2> m_lanes{0x243F6A8885A308D3ull, 0x13198A2E03707344ull};
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
