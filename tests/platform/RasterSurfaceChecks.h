#pragma once
// What the raster surface's tests share: units, colours, and reading the pixels drawn.

#include "platform/RasterSurface.h"

#include <QList>
#include <QPoint>
#include <functional>
#include <limits>

namespace RasterSurfaceChecks {

constexpr float Tw = RasterSurface::TwipsPerPixel;
constexpr std::int32_t White = 0x00FFFFFF;
constexpr float Nan = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();
using Points = QList<QPoint>;
using Draw = std::function<void(RasterSurface &)>;

// Pixels that differ from the colour, row by row.
inline Points pixelsNot(const RasterSurface &s, std::int32_t colour)
{
    Points result;
    for (int y = 0; y < s.size().height(); ++y)
        for (int x = 0; x < s.size().width(); ++x)
            if (s.pixel(x, y) != colour)
                result << QPoint(x, y);
    return result;
}

inline Draw circle(float x, float y, float r)
{
    return [=](RasterSurface &s) { s.setForeColor(0x00ABCDEF); s.Circle(x, y, r); };
}

} // namespace RasterSurfaceChecks
