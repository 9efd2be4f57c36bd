// Start.ini on arbitrary bytes: parsing never fails, keeps its limits, and what it read is
// written and read back unchanged.

#include "fuzzcheck.h"

#include "files/startini.h"
#include "platform/sjiscodec.h"

#include <algorithm>
#include <cmath>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const StartSettings settings = startini::parse(sjis::decode(QByteArrayView(data, qsizetype(size))));
    FUZZ_CHECK(settings.buttonNum <= startini::maxButtonNum);
    for (const QString &path : settings.paths)
        FUZZ_CHECK(!path.isEmpty() && !path.contains(u'\r'));

    const startini::Encoded encoded = startini::encode(settings);
    if (!encoded.leftOut.isEmpty())
        return 0;
    StartSettings again = startini::parse(sjis::decode(encoded.bytes));
    // Positions are floats written with seven digits: a hundred-thousandth of a twip off is the same.
    for (auto [a, b] : {std::pair{&again.top, settings.top}, std::pair{&again.left, settings.left}}) {
        FUZZ_CHECK(std::fabs(a->value_or(0) - b.value_or(0)) <= 1e-6 * std::max(1.0, std::fabs(b.value_or(0))));
        *a = b;
    }
    FUZZ_CHECK(again == settings);
    return 0;
}
