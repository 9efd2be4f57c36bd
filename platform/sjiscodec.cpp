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
    QString out;
    if (bytes.isEmpty())
        return out;

    Iconv cd(kUtf16, kCodePage);
    if (!cd.isValid()) {
        // Without the converter the best we can do is keep ASCII readable.
        out.reserve(bytes.size());
        for (const char c : bytes)
            out.append(static_cast<unsigned char>(c) < 0x80 ? QChar(c) : QChar(kReplacement));
        return out;
    }

    // CP932 never yields more UTF-16 units than it has bytes.
    out.resize(bytes.size());
    char *inPtr = const_cast<char *>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char *outBase = reinterpret_cast<char *>(out.data());
    char *outPtr = outBase;
    size_t outLeft = static_cast<size_t>(out.size()) * sizeof(char16_t);

    // iconv gets a block at a time. Each bad byte starts a new call, and a call that looks
    // at all the input it is given (sanitizer builds check it whole) would make a file full
    // of bad bytes cost the square of its size.
    constexpr size_t kBlock = 64 * 1024;
    while (inLeft > 0) {
        const size_t block = std::min(inLeft, kBlock);
        const bool lastBlock = block == inLeft;
        size_t blockLeft = block;
        const size_t rc = iconv(cd.handle(), &inPtr, &blockLeft, &outPtr, &outLeft);
        inLeft -= block - blockLeft;
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == EINVAL && !lastBlock)
            continue; // a character cut by the block's end: the next block starts with it
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
        break; // E2BIG cannot happen with the buffer sized above
    }
    out.truncate(static_cast<qsizetype>((outPtr - outBase) / static_cast<ptrdiff_t>(sizeof(char16_t))));
    return out;
}

std::optional<QByteArray> encode(QStringView text)
{
    QByteArray out;
    if (text.isEmpty())
        return out;

    Iconv cd(kCodePage, kUtf16);
    if (!cd.isValid())
        return std::nullopt;

    out.resize(text.size() * 2);
    char *inPtr = reinterpret_cast<char *>(const_cast<QChar *>(text.data()));
    size_t inLeft = static_cast<size_t>(text.size()) * sizeof(char16_t);
    char *outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());

    const size_t rc = iconv(cd.handle(), &inPtr, &inLeft, &outPtr, &outLeft);
    if (rc == static_cast<size_t>(-1))
        return std::nullopt;
    // Flush any shift state (none for CP932, but cheap to be correct).
    if (iconv(cd.handle(), nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return std::nullopt;
    out.truncate(outPtr - out.data());

    // glibc maps some characters to look-alikes (U+00A5 to the backslash byte, U+301C to
    // the byte pair of U+FF5E). Such a text would read back different from what was saved,
    // so only an exact round trip counts as encodable. iconv reports any replacement it made
    // in its return value, but not these table fallbacks.
    if (rc != 0 || decode(out) != text)
        return std::nullopt;
    return out;
}

} // namespace sjis
