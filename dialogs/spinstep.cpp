#include "dialogs/spinstep.h"

#include "app/numbers.h"

#include <algorithm>

namespace spinstep {

int stepped(QStringView text, int fallback, const Range &range, bool up)
{
    const double shown = numbers::parseDecimal(text).value_or(double(fallback));
    const double moved = numbers::roundHalfEven(shown) + (up ? range.step : -range.step);
    // Clamping in double first: a huge typed number must not overflow the conversion.
    return int(std::clamp(moved, double(range.minimum), double(range.maximum)));
}

} // namespace spinstep
