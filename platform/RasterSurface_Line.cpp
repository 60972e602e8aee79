// The raster surface's lines: clipped exactly, then stepped only where they cross the buffer.

#include "platform/RasterSurface.h"

#include "platform/ExactMaths.h"
#include "platform/RasterSurfaceParts.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace ExactMaths;
using namespace RasterSurfaceParts;

namespace {

// Cuts the segment (x1, y1)-(x2, y2), given in twips as 32-bit floats, down to the part inside
// the box. The line is taken as a·x + b·y = c, where c comes from products of floats, which
// doubles hold exactly; so where the line crosses the box stays exact to a fraction of a pixel
// even when both ends lie 1e30 away. False when the segment misses the box.
bool clipToBox(double &x1, double &y1, double &x2, double &y2, const QRectF &box)
{
    const double a = y2 - y1;
    const double b = x1 - x2;
    const double c = x1 * y2 - y1 * x2;
    // Where the infinite line meets the box's edges, ordered along the segment's direction (-b, a).
    double entry = std::numeric_limits<double>::infinity();
    double exit = -entry;
    QPointF entryPoint, exitPoint;
    const auto meet = [&](double x, double y) {
        const double along = x * -b + y * a;
        if (along < entry) {
            entry = along;
            entryPoint = QPointF(x, y);
        }
        if (along > exit) {
            exit = along;
            exitPoint = QPointF(x, y);
        }
    };
    if (b != 0.0) {
        for (const double x : {box.left(), box.right()}) {
            const double y = (c - a * x) / b;
            if (y >= box.top() && y <= box.bottom())
                meet(x, y);
        }
    }
    if (a != 0.0) {
        for (const double y : {box.top(), box.bottom()}) {
            const double x = (c - b * y) / a;
            if (x >= box.left() && x <= box.right())
                meet(x, y);
        }
    }
    const double start = x1 * -b + y1 * a;
    const double end = x2 * -b + y2 * a;
    if (entry > exit || end < entry || start > exit)
        return false;
    if (start < entry) {
        x1 = entryPoint.x();
        y1 = entryPoint.y();
    }
    if (end > exit) {
        x2 = exitPoint.x();
        y2 = exitPoint.y();
    }
    return true;
}

} // namespace

void RasterSurface::Line(float x1, float y1, float x2, float y2, std::int32_t color)
{
    double ax = x1;
    double ay = y1;
    double bx = x2;
    double by = y2;
    if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by))
        return;
    const double width = mImage.width();
    const double height = mImage.height();
    if (std::max(toPixelSpace(x1), toPixelSpace(x2)) < 0.0
        || std::min(toPixelSpace(x1), toPixelSpace(x2)) >= width
        || std::max(toPixelSpace(y1), toPixelSpace(y2)) < 0.0
        || std::min(toPixelSpace(y1), toPixelSpace(y2)) >= height || mDrawMode == 11)
        return;
    const QRectF box(QPointF(-kLineMargin * TwipsPerPixel, -kLineMargin * TwipsPerPixel),
                     QPointF((width + kLineMargin) * TwipsPerPixel,
                             (height + kLineMargin) * TwipsPerPixel));
    const auto inside = [&box](double x, double y) {
        return x >= box.left() && x <= box.right() && y >= box.top() && y <= box.bottom();
    };
    if ((!inside(ax, ay) || !inside(bx, by)) && !clipToBox(ax, ay, bx, by, box))
        return;
    // The clamp keeps the conversion to integers defined whatever rounding did at the edge.
    const auto toInt = [](double twips, double size) {
        const double pixels = twips / TwipsPerPixel + 0.5;
        return static_cast<std::int64_t>(
            std::floor(std::clamp(pixels, -kLineMargin, size + kLineMargin + 1.0)));
    };
    drawSegment(plotterFor(color), toInt(ax, width), toInt(ay, height), toInt(bx, width),
                toInt(by, height));
}

// Bresenham along the major axis: step i (0 … length-1, the end pixel left out) sets the pixel
// whose minor offset is length·minor-delta·i rounded half up. The steps inside the buffer are
// computed directly, so the cost follows the visible part, not the segment's length.
void RasterSurface::drawSegment(const Plotter &plotter, std::int64_t x0, std::int64_t y0,
                                std::int64_t x1, std::int64_t y1)
{
    const std::int64_t dx = x1 - x0;
    const std::int64_t dy = y1 - y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t length = xMajor ? std::abs(dx) : std::abs(dy);
    const std::int64_t rise = xMajor ? std::abs(dy) : std::abs(dx);
    if (length == 0)
        return;
    const std::int64_t a0 = xMajor ? x0 : y0;
    const std::int64_t b0 = xMajor ? y0 : x0;
    const std::int64_t sa = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const std::int64_t sb = (xMajor ? dy : dx) >= 0 ? 1 : -1;
    const std::int64_t aMin = xMajor ? plotter.left() : plotter.top();
    const std::int64_t aMax = xMajor ? plotter.right() : plotter.bottom();
    const std::int64_t bMin = xMajor ? plotter.top() : plotter.left();
    const std::int64_t bMax = xMajor ? plotter.bottom() : plotter.right();

    std::int64_t first = std::max<std::int64_t>(0, sa > 0 ? aMin - a0 : a0 - aMax);
    std::int64_t last = std::min(length - 1, sa > 0 ? aMax - a0 : a0 - aMin);
    // The minor offset j(i) = floor((2·rise·i + length) / (2·length)) must stay in [jLow, jHigh].
    const std::int64_t jLow = sb > 0 ? bMin - b0 : b0 - bMax;
    const std::int64_t jHigh = sb > 0 ? bMax - b0 : b0 - bMin;
    const std::int64_t twoLength = 2 * length;
    const std::int64_t twoRise = 2 * rise;
    if (rise == 0) {
        if (jLow > 0 || jHigh < 0)
            return;
    } else {
        first = std::max(first, ceilDiv(twoLength * jLow - length, twoRise));
        last = std::min(last, ceilDiv(twoLength * (jHigh + 1) - length, twoRise) - 1);
    }
    if (first > last)
        return;

    const std::int64_t numerator = twoRise * first + length;
    std::int64_t remainder = numerator % twoLength;
    const std::int64_t jFirst = numerator / twoLength;
    const std::int64_t jLast = (twoRise * last + length) / twoLength;
    const auto pixel = [xMajor](std::int64_t a, std::int64_t b) { return xMajor ? std::pair{a, b} : std::pair{b, a}; };
    const auto [xFirst, yFirst] = pixel(a0 + sa * first, b0 + sb * jFirst);
    const auto [xLast, yLast] = pixel(a0 + sa * last, b0 + sb * jLast);

    const qsizetype majorStep = xMajor ? sa : sa * plotter.stride();
    const qsizetype minorStep = xMajor ? sb * plotter.stride() : sb;
    qsizetype at = plotter.offset(xFirst, yFirst);
    for (std::int64_t i = first;; ++i) {
        plotter.plotAt(at);
        if (i == last)
            break;
        at += majorStep;
        remainder += twoRise;
        if (remainder >= twoLength) {
            remainder -= twoLength;
            at += minorStep;
        }
    }

    markDirty(std::min(xFirst, xLast), std::min(yFirst, yLast), std::max(xFirst, xLast),
              std::max(yFirst, yLast));
}
