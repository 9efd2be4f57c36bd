#include "platform/sjiscodec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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
    void reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

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
    *used = bytes.size();
    if (bytes.isEmpty())
        return 0;

    Iconv cd(kUtf16, kCodePage);
    if (!cd.isValid()) {
        // Without the converter the best we can do is keep ASCII readable.
        for (const char c : bytes)
            *out++ = static_cast<unsigned char>(c) < 0x80 ? char16_t(c) : kReplacement;
        return bytes.size();
    }

    char *inPtr = const_cast<char *>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char *outBase = reinterpret_cast<char *>(out);
    char *outPtr = outBase;
    size_t outLeft = static_cast<size_t>(bytes.size()) * sizeof(char16_t);

    // iconv gets a block at a time. Each bad byte starts a new call, and a call that looks
    // at all the input it is given (sanitizer builds check it whole) would make a file full
    // of bad bytes cost the square of its size.
    constexpr size_t kBlock = 64 * 1024;
    while (inLeft > 0) {
        const size_t block = std::min(inLeft, kBlock);
        const bool finalBlock = block == inLeft;
        const bool lastBlock = finalBlock && !more;
        size_t blockLeft = block;
        const size_t rc = iconv(cd.handle(), &inPtr, &blockLeft, &outPtr, &outLeft);
        inLeft -= block - blockLeft;
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == EINVAL && !lastBlock) {
            if (finalBlock)
                break; // cut by the end of the stretch: the bytes after it complete it
            continue; // a character cut by the block's end: the next block starts with it
        }
        if (errno == EILSEQ || errno == EINVAL) {
            // One bad byte costs one replacement character; the rest is read on.
            std::memcpy(outPtr, &kReplacement, sizeof(char16_t));
            outPtr += sizeof(char16_t);
            outLeft -= sizeof(char16_t);
            ++inPtr;
            --inLeft;
            cd.reset();
            continue;
        }
        break; // E2BIG cannot happen with the room the caller gives
    }
    *used = bytes.size() - qsizetype(inLeft);
    return static_cast<qsizetype>((outPtr - outBase) / static_cast<ptrdiff_t>(sizeof(char16_t)));
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
