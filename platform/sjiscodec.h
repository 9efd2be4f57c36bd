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

/** Encodes text, or returns nothing when some character has no exact CP932 form
    (iconv's lossy fallbacks such as U+00A5 to 0x5C count as having none). */
std::optional<QByteArray> encode(QStringView text);

/** UTF-16 units appendEncoded() converts and checks at a time: small enough that the check
    reads back what was just written from the cache, large enough that opening the
    converters costs nothing next to the work. */
inline constexpr qsizetype encodePiece = 128 * 1024;

/** Encodes text onto the end of `out`, as encode() would, without an intermediate copy.
    When some character has no exact CP932 form, returns false and leaves `out` as it was. */
bool appendEncoded(QStringView text, QByteArray &out);

} // namespace sjis
