// The start-up settings reader on arbitrary bytes: never fails, keeps its limits, and what
// it read is written and read back unchanged.

#include "fuzzcheck.h"

#include "files/startini.h"
#include "platform/sjiscodec.h"

#include <QByteArrayView>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// Positions are single precision written with seven digits, which is not always the
// same float again; a window one hundred-thousandth of a twip away is the same window.
bool samePosition(const std::optional<double> &a, const std::optional<double> &b)
{
    const double x = a.value_or(0.0);
    const double y = b.value_or(0.0);
    return std::fabs(x - y) <= 1e-6 * std::max(1.0, std::fabs(x));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = sjis::decode(QByteArrayView(data, static_cast<qsizetype>(size)));
    const StartSettings settings = startini::parse(text);

    FUZZ_CHECK(settings.buttonNum <= startini::maxButtonNum);
    for (const QString &path : settings.paths) {
        FUZZ_CHECK(!path.isEmpty());
        FUZZ_CHECK(!path.contains(u'\r'));
    }

    const startini::Encoded encoded = startini::encode(settings);
    if (!encoded.leftOut.isEmpty())
        return 0;
    StartSettings again = startini::parse(sjis::decode(encoded.bytes));
    FUZZ_CHECK(samePosition(again.top, settings.top) && samePosition(again.left, settings.left));
    again.top = settings.top;
    again.left = settings.left;
    FUZZ_CHECK(again == settings);
    return 0;
}
