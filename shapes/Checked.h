#pragma once
// Checked narrowing of computed values: every stored result must fit its type.

#include "shapes/SkizzarError.h"

#include <cmath>
#include <cstdint>

namespace Checked {

// Rounds to a 32-bit float once; anything not finite afterwards is an overflow.
inline float single(double value)
{
    const float f = static_cast<float>(value);
    if (!std::isfinite(f))
        throw OverflowError();
    return f;
}

// Rounds to the nearest integer, a half to the even neighbour, as the integer conversions do.
inline double roundHalfEven(double value)
{
    return std::nearbyint(value); // default rounding mode is to nearest, ties to even
}

inline std::int16_t integer16(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw OverflowError();
    return static_cast<std::int16_t>(r);
}

inline std::int32_t integer32(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        throw OverflowError();
    return static_cast<std::int32_t>(r);
}

} // namespace Checked
