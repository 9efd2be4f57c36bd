// Start.ini on arbitrary bytes: parsing never fails, keeps its limits, and what it read is
// written and read back unchanged.

#include "fuzzcheck.h"

#include "files/startini.h"
#include "platform/sjiscodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const StartSettings settings = startini::parse(sjis::decode(QByteArrayView(data, qsizetype(size))));
    FUZZ_CHECK(settings.buttonNum <= startini::maxButtonNum);
    for (const QString &path : settings.paths)
        FUZZ_CHECK(!path.isEmpty() && !path.contains(u'\r'));
    const startini::Encoded encoded = startini::encode(settings);
    StartSettings again = startini::parse(sjis::decode(encoded.bytes));
    // Positions are floats written with seven digits: they are the same as written, not as read.
    FUZZ_CHECK(startini::encode(again).bytes == encoded.bytes);
    again.top = settings.top;
    again.left = settings.left;
    FUZZ_CHECK(!encoded.leftOut.isEmpty() || again == settings);
    return 0;
}
