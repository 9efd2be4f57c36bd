#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

/** Shift-JIS (Windows code page 932) conversion through glibc's iconv. */
namespace sjis {

/** Decodes bytes; every byte sequence that is not CP932 becomes U+FFFD and decoding goes on. */
QString decode(QByteArrayView bytes);

/** Decodes bytes as decode() does into `out`, which has room for `bytes.size()` UTF-16
    units (CP932 never yields more); returns the units written. */
qsizetype decodeInto(QByteArrayView bytes, char16_t *out);

/** As decodeInto(), for a stretch of bytes that `more` says others follow: a character cut
    by its end is left undecoded. `used` is how many bytes were decoded; the next stretch
    starts there, and the stretches together decode as the bytes would whole. */
qsizetype decodeInto(QByteArrayView bytes, char16_t *out, bool more, qsizetype *used);

/** What encoding does with the characters that stand, in another Unicode mapping of
    JIS X 0208, for a character the code page maps elsewhere: U+301C WAVE DASH, which Linux
    input methods type for the code page's U+FF5E, U+2016, U+2212, U+00A2, U+00A3, U+00AC
    and U+2014; and U+00A5, the yen sign, taken as the code page's full-width one. */
enum class LookAlikes {
    Refuse, ///< they have no exact form: a path must read back naming the same file
    Fold,   ///< written as the code page's character, which is what reads back
};

/** `text` with every look-alike replaced by the code page's character: what a text
    encoded with LookAlikes::Fold decodes to. */
QString foldLookAlikes(QStringView text);

/** Encodes text, or returns nothing when some character has no exact CP932 form
    (iconv's lossy fallbacks such as U+00A5 to 0x5C count as having none); look-alikes
    are refused or folded as `lookAlikes` says. */
std::optional<QByteArray> encode(QStringView text, LookAlikes lookAlikes = LookAlikes::Refuse);

/** UTF-16 units appendEncoded() converts and checks at a time: small enough that the check
    reads back what was just written from the cache, large enough that opening the
    converters costs nothing next to the work. */
inline constexpr qsizetype encodePiece = 128 * 1024;

/** Encodes text onto the end of `out`, as encode() would, without an intermediate copy.
    When some character has no exact CP932 form, returns false and leaves `out` as it was. */
bool appendEncoded(QStringView text, QByteArray &out, LookAlikes lookAlikes = LookAlikes::Refuse);

} // namespace sjis
