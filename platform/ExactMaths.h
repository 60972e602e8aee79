#pragma once
// Exact integer maths of the raster surface: twips to pixels for every finite float, integers of
// 256 bits, and exact square roots, so that huge coordinates and radii draw exactly.

#include <cstdint>

namespace ExactMaths {

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

std::int64_t ceilDiv(std::int64_t n, std::int64_t d); // d > 0

// The pixel that holds the twip t, floor(t / TwipsPerPixel + 1/2), exact for every finite float.
Int128 pixelOf(float twips);

// An unsigned integer of 256 bits, enough for the square of any radius a float can give.
struct Wide
{
    UInt128 hi = 0;
    UInt128 lo = 0;

    static Wide of(UInt128 value) { return {0, value}; }
    static Wide product(UInt128 a, UInt128 b)
    {
        const UInt128 mask = ~std::uint64_t(0);
        const UInt128 low = (a & mask) * (b & mask);
        const UInt128 cross1 = (a & mask) * (b >> 64);
        const UInt128 cross2 = (a >> 64) * (b & mask);
        const UInt128 middle = (low >> 64) + (cross1 & mask) + (cross2 & mask);
        return {(a >> 64) * (b >> 64) + (cross1 >> 64) + (cross2 >> 64) + (middle >> 64),
                (middle << 64) | (low & mask)};
    }
    friend Wide operator+(Wide a, Wide b)
    {
        const UInt128 lo = a.lo + b.lo;
        return {a.hi + b.hi + (lo < a.lo ? 1 : 0), lo};
    }
    friend Wide operator-(Wide a, Wide b) // a >= b
    {
        return {a.hi - b.hi - (a.lo < b.lo ? 1 : 0), a.lo - b.lo};
    }
    friend bool operator<(Wide a, Wide b) { return a.hi < b.hi || (a.hi == b.hi && a.lo < b.lo); }
    friend bool operator<=(Wide a, Wide b) { return !(b < a); }
};

// The largest s with s² <= n.
UInt128 squareRoot(Wide n);

} // namespace ExactMaths
