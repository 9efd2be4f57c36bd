#pragma once

#include <QStringView>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

/** The program's numbers are 16-bit signed; these helpers convert without wrapping. */
namespace numbers {

inline constexpr int int16Min = std::numeric_limits<std::int16_t>::min();
inline constexpr int int16Max = std::numeric_limits<std::int16_t>::max();

/** Rounds to the nearest integer, an exact half to the even neighbour. */
inline double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5)
        return floor + 1.0;
    if (diff < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

inline bool fitsInt16(double value)
{
    return std::isfinite(value) && value >= int16Min && value <= int16Max;
}

/** A value rounded half to even, when it fits 16 bits. */
inline std::optional<int> toInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (!fitsInt16(rounded))
        return std::nullopt;
    return static_cast<int>(rounded);
}

/** A decimal number in `text`, surrounding blanks ignored; nothing when it is none. */
std::optional<double> parseDecimal(QStringView text);

/** A decimal number rounded to 16 bits; nothing when it is none or does not fit. */
inline std::optional<int> parseInt16(QStringView text)
{
    const auto value = parseDecimal(text);
    return value ? toInt16(*value) : std::nullopt;
}

} // namespace numbers
