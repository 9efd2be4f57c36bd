#include "platform/sjiscodec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// "CP932" rather than "SHIFT_JIS": the strict JIS X 0208 table rejects NEC and IBM
// extensions (circled digits, 髙) that real Japanese files are full of.
constexpr char kCodePage[] = "CP932";
constexpr char kUtf16[] = "UTF-16LE";
constexpr char16_t kReplacement = u'\uFFFD';

/** The code page's character for a look-alike (the same JIS X 0208 cell, or for the yen
    sign its full-width form), or nothing. */
char16_t codePageTwin(char16_t c)
{
    if (c < u'\u00A2' || c > u'\u301C')
        return 0; // ASCII, kana and kanji, at one comparison or two
    switch (c) {
    case u'\u00A2': return u'\uFFE0'; // ¢ 81 91
    case u'\u00A3': return u'\uFFE1'; // £ 81 92
    case u'\u00A5': return u'\uFFE5'; // ¥ 81 8F; 5C stays the backslash of paths
    case u'\u00AC': return u'\uFFE2'; // ¬ 81 CA
    case u'\u2014': return u'\u2015'; // — 81 5C
    case u'\u2016': return u'\u2225'; // ‖ 81 61
    case u'\u2212': return u'\uFF0D'; // − 81 7C
    case u'\u301C': return u'\uFF5E'; // 〜 81 60
    default: return 0;
    }
}

bool hasLookAlike(QStringView text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return codePageTwin(c.unicode()) != 0; });
}

class Iconv final
{
public:
    Iconv(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (isValid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool isValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

/** CP932 as glibc's iconv reads it, looked up instead of converted: the same characters
    and the same bytes taken as none, several times faster (reading a big file is mostly
    this). Asked of iconv once per run, byte by byte and pair by pair, in about a millisecond. */
struct DecodeTable
{
    std::array<bool, 256> isLead{};
    std::array<char16_t, 256> single{};  ///< for a byte that is not a lead byte
    std::array<uint8_t, 256> leadRow{};  ///< a lead byte's row in `pairs`
    std::vector<char16_t> pairs;         ///< 256 a lead byte, by trail byte; 0 for no character
};

std::optional<DecodeTable> buildDecodeTable()
{
    Iconv cd(kUtf16, kCodePage);
    if (!cd.isValid())
        return std::nullopt;
    // One character from `in`: its UTF-16 unit, 0 for no character, or -1 when `in` is
    // the start of a longer one.
    const auto convert = [&cd](QByteArrayView in) -> int {
        char *inPtr = const_cast<char *>(in.data());
        size_t inLeft = size_t(in.size());
        char16_t unit[2];
        char *outPtr = reinterpret_cast<char *>(unit);
        size_t outLeft = sizeof unit;
        const size_t rc = iconv(cd.handle(), &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        if (rc == size_t(-1))
            return error == EINVAL ? -1 : 0;
        return inLeft == 0 && outLeft == sizeof unit - sizeof(char16_t) ? unit[0] : 0;
    };
    DecodeTable table;
    for (int byte = 0; byte < 256; ++byte) {
        const char lead = char(byte);
        const int single = convert(QByteArrayView(&lead, 1));
        table.single[size_t(byte)] = single > 0 || byte == 0 ? char16_t(single) : kReplacement;
        if (single >= 0)
            continue;
        table.isLead[size_t(byte)] = true;
        table.leadRow[size_t(byte)] = uint8_t(table.pairs.size() / 256);
        for (int trail = 0; trail < 256; ++trail) {
            const char pair[2] = {lead, char(trail)};
            table.pairs.push_back(char16_t(std::max(convert(QByteArrayView(pair, 2)), 0)));
        }
    }
    return table;
}

const DecodeTable *decodeTable()
{
    static const std::optional<DecodeTable> table = buildDecodeTable();
    return table ? &*table : nullptr;
}

} // namespace

namespace sjis {

QString decode(QByteArrayView bytes)
{
    // CP932 never yields more UTF-16 units than it has bytes.
    QString out(bytes.size(), Qt::Uninitialized);
    out.truncate(decodeInto(bytes, reinterpret_cast<char16_t *>(out.data())));
    return out;
}

qsizetype decodeInto(QByteArrayView bytes, char16_t *out)
{
    qsizetype used = 0;
    return decodeInto(bytes, out, false, &used);
}

qsizetype decodeInto(QByteArrayView bytes, char16_t *out, bool more, qsizetype *used)
{
    const auto *begin = reinterpret_cast<const uchar *>(bytes.data());
    const auto *end = begin + bytes.size();
    const auto *in = begin;
    char16_t *to = out;
    const DecodeTable *table = decodeTable();
    if (!table) {
        // Without the converter the best we can do is keep ASCII readable.
        for (; in < end; ++in)
            *to++ = *in < 0x80 ? char16_t(*in) : kReplacement;
        *used = bytes.size();
        return to - out;
    }
    while (in < end) {
        const uchar byte = *in;
        if (!table->isLead[byte]) {
            *to++ = table->single[byte];
            ++in;
        } else if (in + 1 == end) {
            if (more)
                break; // cut by the end of the stretch: the bytes after it complete it
            *to++ = kReplacement;
            ++in;
        } else {
            // A pair the code page has no character for costs its lead byte alone; the
            // byte after it is read on, as whatever it is.
            const char16_t c = table->pairs[size_t(table->leadRow[byte]) * 256 + in[1]];
            *to++ = c ? c : kReplacement;
            in += c ? 2 : 1;
        }
    }
    *used = in - begin;
    return to - out;
}

QString foldLookAlikes(QStringView text)
{
    QString out = text.toString();
    for (QChar &c : out) {
        if (const char16_t twin = codePageTwin(c.unicode()))
            c = QChar(twin);
    }
    return out;
}

std::optional<QByteArray> encode(QStringView text, LookAlikes lookAlikes)
{
    QByteArray out;
    if (!appendEncoded(text, out, lookAlikes))
        return std::nullopt;
    return out;
}

bool appendEncoded(QStringView text, QByteArray &out, LookAlikes lookAlikes)
{
    if (text.isEmpty())
        return true;
    Iconv cd(kCodePage, kUtf16);
    if (!cd.isValid())
        return false;

    const qsizetype original = out.size();
    const auto refuse = [&] {
        out.truncate(original);
        return false;
    };
    // Encoded and checked a piece at a time: no large second copy of the text is ever made.
    for (qsizetype start = 0; start < text.size();) {
        qsizetype length = std::min(encodePiece, text.size() - start);
        // A surrogate pair stays in one piece; a high surrogate alone fails in the next.
        if (start + length < text.size() && text.at(start + length - 1).isHighSurrogate())
            --length;
        QStringView piece = text.sliced(start, length);
        QString folded; // a copy only of a piece that needs one
        if (lookAlikes == LookAlikes::Fold && hasLookAlike(piece)) {
            folded = foldLookAlikes(piece);
            piece = folded;
        }

        // CP932 takes at most two bytes for a UTF-16 unit. The buffer grows by doubling, so
        // a long text costs a few moves in all, not one per piece.
        const qsizetype written = out.size();
        const qsizetype needed = written + length * 2;
        if (needed > out.capacity())
            out.reserve(std::max(needed, out.capacity() * 2));
        out.resize(needed);
        char *inPtr = reinterpret_cast<char *>(const_cast<QChar *>(piece.data()));
        size_t inLeft = static_cast<size_t>(length) * sizeof(char16_t);
        char *outPtr = out.data() + written;
        size_t outLeft = static_cast<size_t>(length) * 2;
        // iconv reports any replacement it made in its return value.
        if (iconv(cd.handle(), &inPtr, &inLeft, &outPtr, &outLeft) != 0)
            return refuse();
        out.truncate(outPtr - out.constData());
        // glibc maps some characters to look-alikes (U+00A5 to the backslash byte, U+301C to
        // the byte pair of U+FF5E), without reporting them. Such a text would read back
        // different from what was saved, so only an exact round trip (of the folded text,
        // when folding) counts as encodable.
        if (decode(QByteArrayView(out).sliced(written)) != piece)
            return refuse();
        start += length;
    }
    return true;
}

} // namespace sjis
