#include "app/numbers.h"

#include <QString>

namespace numbers {

std::optional<double> parseDecimal(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    // Plain decimal notation only: digits, one optional sign and point, an optional exponent.
    // toDouble() alone would also take "inf", "nan" and hexadecimal forms.
    for (const QChar c : trimmed) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= u'0' && u <= u'9') || u == u'-' || u == u'+' || u == u'.'
                || u == u'e' || u == u'E';
        if (!allowed)
            return std::nullopt;
    }
    bool ok = false;
    const double value = trimmed.toString().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace numbers
