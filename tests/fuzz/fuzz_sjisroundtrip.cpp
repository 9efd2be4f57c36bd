// Shift-JIS conversion both ways: decoding takes any bytes, and a text that encodes at all
// decodes back to exactly itself, or with look-alikes folded when they are.

#include "fuzzcheck.h"

#include "platform/sjiscodec.h"

#include <QByteArrayView>
#include <QStringView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The bytes as a file's content.
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QString text = sjis::decode(bytes);
    FUZZ_CHECK(text.size() <= bytes.size());
    if (const auto encoded = sjis::encode(text)) {
        FUZZ_CHECK(sjis::decode(*encoded) == text);
        FUZZ_CHECK(encoded->size() <= 2 * text.size());
    }
    // Every character the decoder produced from a well-formed file must be writable again,
    // or a file read in could not be saved unchanged.
    if (!text.contains(QChar::ReplacementCharacter))
        FUZZ_CHECK(sjis::encode(text).has_value());
    // Decoding gives the code page's characters, never a look-alike.
    FUZZ_CHECK(sjis::foldLookAlikes(text) == text);

    // The same bytes as UTF-16 text typed by the user.
    const QStringView typed(reinterpret_cast<const char16_t *>(data), static_cast<qsizetype>(size / 2));
    if (const auto encoded = sjis::encode(typed))
        FUZZ_CHECK(sjis::decode(*encoded) == typed);
    // Folding, it encodes as its folded form would, and reads back as that form.
    const QString folded = sjis::foldLookAlikes(typed);
    const auto foldEncoded = sjis::encode(typed, sjis::LookAlikes::Fold);
    FUZZ_CHECK(foldEncoded == sjis::encode(folded));
    if (foldEncoded)
        FUZZ_CHECK(sjis::decode(*foldEncoded) == folded);
    return 0;
}
