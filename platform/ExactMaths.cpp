#include "platform/ExactMaths.h"

#include "platform/RasterSurfaceParts.h"

#include <cmath>

using namespace RasterSurfaceParts;

namespace ExactMaths {

std::int64_t ceilDiv(std::int64_t n, std::int64_t d)
{
    return n / d + ((n % d > 0) ? 1 : 0);
}

// A float with a fraction is below 2^24, and below 2^40 doubles hold the quotient closely enough; a
// larger whole one, up to 2^128, is divided as an integer.
Int128 pixelOf(float twips)
{
    if (std::trunc(twips) != twips || std::abs(twips) < 0x1p40f) // the double's error stays tiny
        return static_cast<Int128>(std::floor(toPixelSpace(twips)));
    const auto magnitude = static_cast<UInt128>(std::abs(twips));
    constexpr UInt128 perPixel = RasterSurface::TwipsPerPixel;
    const auto pixel = static_cast<Int128>(magnitude / perPixel + (2 * (magnitude % perPixel) >= perPixel ? 1 : 0));
    return twips < 0 ? -pixel : pixel;
}

// A floating-point estimate, made exact by integer tests.
UInt128 squareRoot(Wide n)
{
    // A small root is kept in 64 bits: its squares then cost one multiplication.
    const auto settle = [&n](auto s) {
        while (UInt128(s) * s > n.lo)
            --s;
        while (UInt128(s + 1) * (s + 1) <= n.lo)
            ++s;
        return UInt128(s);
    };
    if (n.hi == 0 && n.lo < (UInt128(1) << 52))
        return settle(static_cast<std::uint64_t>(std::sqrt(static_cast<double>(std::uint64_t(n.lo)))));
    if (n.hi == 0 && n.lo < (UInt128(1) << 104))
        return settle(static_cast<UInt128>(std::sqrt(static_cast<long double>(n.lo))));
    // The estimate is good to about 2^-60 of itself; a bisection settles the last bits.
    const auto estimate = static_cast<UInt128>(
        std::sqrt(std::ldexp(static_cast<long double>(n.hi), 128) + static_cast<long double>(n.lo)));
    UInt128 low = estimate - (estimate >> 50) - 1; // low² <= n < high²
    UInt128 high = estimate + (estimate >> 50) + 1;
    if (n < Wide::product(low, low))
        low = 0;
    if (Wide::product(high, high) <= n)
        high = ~UInt128(0);
    while (high - low > 1) {
        const UInt128 middle = low + (high - low) / 2;
        (Wide::product(middle, middle) <= n ? low : high) = middle;
    }
    return low;
}

} // namespace ExactMaths
