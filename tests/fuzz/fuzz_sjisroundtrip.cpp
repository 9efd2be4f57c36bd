// Shift-JIS both ways: any bytes decode, and a text that encodes at all decodes back to itself,
// or to its folded form when look-alikes are folded.

#include "fuzzcheck.h"

#include "platform/sjiscodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size)); // as a file's content
    const QString text = sjis::decode(bytes);
    FUZZ_CHECK(text.size() <= bytes.size());
    // What a well-formed file decodes to is the code page's characters and saves unchanged.
    FUZZ_CHECK(sjis::foldLookAlikes(text) == text);
    const auto encoded = sjis::encode(text);
    FUZZ_CHECK(encoded.has_value() || text.contains(QChar::ReplacementCharacter));
    FUZZ_CHECK(!encoded || (sjis::decode(*encoded) == text && encoded->size() <= 2 * text.size()));

    const QStringView typed(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2)); // as typed text
    if (const auto typedEncoded = sjis::encode(typed))
        FUZZ_CHECK(sjis::decode(*typedEncoded) == typed);
    const QString folded = sjis::foldLookAlikes(typed);
    const auto foldEncoded = sjis::encode(typed, sjis::LookAlikes::Fold);
    FUZZ_CHECK(foldEncoded == sjis::encode(folded));
    FUZZ_CHECK(!foldEncoded || sjis::decode(*foldEncoded) == folded);
    return 0;
}
