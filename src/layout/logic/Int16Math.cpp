#include "layout/logic/Int16Math.h"

#include "layout/logic/SplitterOverflowError.h"

#include <cmath>
#include <limits>

std::int16_t Int16Math::narrow(std::int64_t value)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        throw SplitterOverflowError();
    return static_cast<std::int16_t>(value);
}

std::int16_t Int16Math::round(double value)
{
    const double rounded = roundHalfToEven(value);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() && rounded <= std::numeric_limits<std::int16_t>::max()))
        throw SplitterOverflowError();
    return static_cast<std::int16_t>(rounded);
}

std::int16_t Int16Math::add(std::int16_t a, std::int16_t b)
{
    return narrow(std::int64_t{a} + b);
}

std::int16_t Int16Math::subtract(std::int16_t a, std::int16_t b)
{
    return narrow(std::int64_t{a} - b);
}

double Int16Math::roundHalfToEven(double value)
{
    const double nearest = std::round(value);
    if (std::fabs(value - std::trunc(value)) != 0.5)
        return nearest;
    return 2.0 * std::round(value / 2.0);
}
