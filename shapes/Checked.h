#pragma once
// Checked narrowing of computed values: every stored result must fit its type.

#include "shapes/SkizzarError.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace Checked {

// Rounds to a 32-bit float once; anything not finite afterwards is an overflow.
inline float single(double value)
{
    const float f = static_cast<float>(value);
    if (!std::isfinite(f))
        throw OverflowError();
    return f;
}

// Rounds to the nearest integer, a half to the even neighbour, as the integer conversions do;
// anything outside the integer type's range afterwards is an overflow.
template <typename Integer>
inline Integer integer(double value)
{
    const double r = std::nearbyint(value); // default rounding mode is to nearest, ties to even
    if (!(r >= double(std::numeric_limits<Integer>::min()) && r <= double(std::numeric_limits<Integer>::max())))
        throw OverflowError();
    return static_cast<Integer>(r);
}

inline std::int32_t integer32(double value) { return integer<std::int32_t>(value); }

} // namespace Checked
