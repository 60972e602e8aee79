// The raster surface's circles: the midpoint outline, exact for every radius a float can give.

#include "platform/RasterSurface.h"

#include "platform/ExactMaths.h"
#include "platform/RasterSurfaceParts.h"

#include <algorithm>
#include <cmath>
#include <utility>

using namespace ExactMaths;
using namespace RasterSurfaceParts;

namespace {

// The outline of radius r (> 0) as the midpoint rule draws it: for every offset u from the
// centre, v(u) is the largest v with u² + v² - v < r², and the outline holds (±u, ±v(u)) for
// u <= v(u) and (±v(u), ±u) for u < v(u). v never grows with u, so the offsets whose pixels
// fall in a range of rows or columns form a range too, found with exact square roots.
class CircleOutline
{
public:
    explicit CircleOutline(UInt128 r) : mR(r), mRR(Wide::product(r, r)) {}

    // v(u) for 0 <= u <= r: (2v - 1)² <= 4(r² - u²) with v as large as that allows.
    UInt128 offsetAt(UInt128 u) const
    {
        const Wide d = mRR - Wide::product(u, u);
        return (squareRoot(d + d + d + d) + 1) / 2;
    }
    // The largest u whose v(u) >= w, or -1 when there is none.
    Int128 lastReaching(Int128 w) const
    {
        if (w <= 0)
            return static_cast<Int128>(mR);
        const Wide needed = Wide::product(UInt128(w), UInt128(w - 1)) + Wide::of(1);
        if (mRR < needed)
            return -1;
        return static_cast<Int128>(squareRoot(mRR - needed));
    }
    // The last u of the arcs with u <= v(u), i.e. 2u² - u < r², i.e. 4u - 1 <= sqrt(8r²); with
    // strict, of those with u < v(u), i.e. 4u + 1 <= sqrt(8r²).
    UInt128 lastOfOctant(bool strict) const
    {
        const Wide twice = mRR + mRR;
        const UInt128 root = squareRoot(twice + twice + twice + twice);
        return strict ? (root - 1) / 4 : (root + 1) / 4;
    }
    // r² - u² - v² + v with v = v(u), which lies in 1 … 2v, so the sum modulo 2^128 is exact.
    Int128 slack(UInt128 u, UInt128 v) const
    {
        return static_cast<Int128>(mR * mR - u * u - v * v + v);
    }

private:
    UInt128 mR;
    Wide mRR;
};

// Whether the outline of radius r about (cx, cy), in pixels, may set a pixel of the area. Its
// pixels (u, v) from the centre have r² - r <= u² + v² < r² + r, so they lie within r ± 1 of
// it; `slack` adds how far centre and radius may be off, and far out doubles keep only the
// leading digits of a distance, hence a slack that grows with it.
bool outlineMayMeet(double cx, double cy, double r, const QRect &area, double slack)
{
    if (area.isEmpty())
        return false;
    // The nearest and farthest distance from the centre along one axis.
    const auto span = [](double c, int low, int high) {
        const double toLow = std::abs(c - low), toHigh = std::abs(high - c);
        return std::pair{c < low || c > high ? std::min(toLow, toHigh) : 0.0, std::max(toLow, toHigh)};
    };
    const auto [nearX, farX] = span(cx, area.left(), area.right());
    const auto [nearY, farY] = span(cy, area.top(), area.bottom());
    slack += 1.0 + 1e-9 * (farX + farY + r);
    const double inner = std::max(r - slack, 0.0), outer = r + slack;
    return nearX * nearX + nearY * nearY <= outer * outer && farX * farX + farY * farY >= inner * inner;
}

} // namespace

QRect RasterSurface::circleReach(float x, float y, float radius) const
{
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius))
        return QRect();
    const Int128 cx = pixelOf(x), cy = pixelOf(y), r = pixelOf(std::abs(radius));
    Int128 left = std::max<Int128>(cx - r, 0), right = std::min<Int128>(cx + r, mImage.width() - 1);
    Int128 top = std::max<Int128>(cy - r, 0), bottom = std::min<Int128>(cy + r, mImage.height() - 1);
    if (left > right || top > bottom)
        return QRect();
    // Within rows (or columns) at most `far` from the centre, the outline's pixels lie no nearer
    // to it across than v(far), except on the arcs with u <= v, which stay within `far`: so a
    // centre more than `far` beyond an edge keeps the outline v(far) from the centre.
    const CircleOutline outline{static_cast<UInt128>(r)};
    const auto narrow = [&](Int128 along, Int128 low, Int128 high, Int128 across, Int128 &from, Int128 &to) {
        const Int128 far = std::max(along - low, high - along);
        if (far > r)
            return;
        if (across + far < from)
            from = std::max(from, across + static_cast<Int128>(outline.offsetAt(static_cast<UInt128>(far))));
        else if (across - far > to)
            to = std::min(to, across - static_cast<Int128>(outline.offsetAt(static_cast<UInt128>(far))));
    };
    narrow(cy, top, bottom, cx, left, right);
    narrow(cx, left, right, cy, top, bottom);
    if (left > right || top > bottom)
        return QRect();
    return QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom)));
}

bool RasterSurface::outlineMeets(float x, float y, float radius, const QRect &area) const
{
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius))
        return false;
    // Without the exact pixels: centre and radius are then each off by up to a pixel.
    const double pixel = TwipsPerPixel;
    return outlineMayMeet(x / pixel, y / pixel, std::abs(radius) / pixel, area, 3.5);
}

void RasterSurface::Circle(float x, float y, float radius)
{
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius) || mDrawMode == 11)
        return;
    const Int128 cx = pixelOf(x);
    const Int128 cy = pixelOf(y);
    const Int128 r = pixelOf(std::abs(radius));
    if (cx + r < 0 || cx - r >= mImage.width() || cy + r < 0 || cy - r >= mImage.height())
        return;
    const Plotter plotter = plotterFor(mForeColor);
    if (cx - r >= mClip.left() && cy - r >= mClip.top() && cx + r <= mClip.right()
        && cy + r <= mClip.bottom()) {
        drawSmallCircle(plotter, std::int64_t(cx), std::int64_t(cy), std::int64_t(r));
        markDirty(std::int64_t(cx - r), std::int64_t(cy - r), std::int64_t(cx + r),
                  std::int64_t(cy + r));
    } else if (outlineMayMeet(static_cast<double>(cx), static_cast<double>(cy), static_cast<double>(r), mClip, 0.0)) {
        drawCircleArcs(plotter, cx, cy, r);
    }
}

// The midpoint walk over the first octant (u across, v the outline offset), mirrored eight
// ways, for a circle wholly inside the clip, which needs no test per pixel. On the axes and on
// the diagonal the mirror images coincide; those points are set once.
void RasterSurface::drawSmallCircle(const Plotter &plotter, std::int64_t cx, std::int64_t cy,
                                    std::int64_t r)
{
    const qsizetype centre = plotter.offset(cx, cy);
    const qsizetype stride = plotter.stride();
    const auto put = [&](std::int64_t dx, std::int64_t dy) {
        plotter.plotAt(centre + dy * stride + dx);
    };
    if (r == 0) {
        put(0, 0);
        return;
    }
    const std::int64_t rr = r * r;
    std::int64_t v = r;
    for (std::int64_t u = 0;; ++u) {
        const std::int64_t d = rr - u * u;
        while (v > 0 && v * (v - 1) >= d)
            --v;
        if (u > v)
            break;
        if (u == 0) {
            put(0, -v);
            put(0, v);
            put(-v, 0);
            put(v, 0);
        } else {
            put(-u, -v);
            put(u, -v);
            put(-u, v);
            put(u, v);
            if (u != v) {
                put(-v, -u);
                put(v, -u);
                put(-v, u);
                put(v, u);
            }
        }
    }
}

// The same outline as the walk, each of its eight arcs walked only over the offsets whose pixels
// lie in the buffer, so the cost follows what is drawn, whatever the radius.
void RasterSurface::drawCircleArcs(const Plotter &plotter, Int128 cx, Int128 cy, Int128 r)
{
    const CircleOutline outline{static_cast<UInt128>(r)};
    const auto lastWithDiagonal = static_cast<Int128>(outline.lastOfOctant(false));
    const auto lastBeforeDiagonal = static_cast<Int128>(outline.lastOfOctant(true));
    std::int64_t left = plotter.right() + 1, top = plotter.bottom() + 1, right = -1, bottom = -1;
    // One arc: u runs along one axis from centre a0 in direction sa, v(u) across the other
    // from b0 in direction sb; the clip spans aMin … aMax and bMin … bMax along those axes.
    const auto arc = [&](bool alongRows, Int128 a0, int sa, Int128 aMin, Int128 aMax, Int128 b0,
                         int sb, Int128 bMin, Int128 bMax, Int128 uFirst, Int128 uLast) {
        // The offsets that bring a and b into the clip.
        const Int128 aLow = sa > 0 ? aMin - a0 : a0 - aMax;
        const Int128 bLow = sb > 0 ? bMin - b0 : b0 - bMax;
        // v(u) >= u on the arc, so it lies within u <= uLast and uLast <= v <= r.
        if (uFirst > aLow + (aMax - aMin) || uLast < aLow || r < bLow || uLast > bLow + (bMax - bMin))
            return;
        uFirst = std::max({uFirst, aLow, outline.lastReaching(bLow + (bMax - bMin) + 1) + 1});
        uLast = std::min({uLast, aLow + (aMax - aMin), outline.lastReaching(bLow)});
        if (uFirst > uLast)
            return;
        const auto u0 = static_cast<UInt128>(uFirst);
        const UInt128 v0 = outline.offsetAt(u0);
        const auto pixelAt = [&](Int128 u, Int128 v) {
            const auto a = static_cast<std::int64_t>(a0 + sa * u);
            const auto b = static_cast<std::int64_t>(b0 + sb * v);
            return alongRows ? QPoint(int(b), int(a)) : QPoint(int(a), int(b));
        };
        const QPoint first = pixelAt(uFirst, static_cast<Int128>(v0));
        const qsizetype alongStep = sa * (alongRows ? plotter.stride() : 1);
        const qsizetype acrossStep = sb * (alongRows ? 1 : plotter.stride());
        // The midpoint walk, in 64 bits where r² - u² - v² + v, which stays below 2r, fits.
        const auto walk = [&](auto u, auto v, auto slack, auto last) {
            qsizetype at = plotter.offset(first.x(), first.y());
            for (;;) {
                plotter.plotAt(at);
                if (u == last)
                    break;
                slack -= 2 * u + 1;
                ++u;
                at += alongStep;
                while (slack <= 0) {
                    --v;
                    slack += 2 * v;
                    at -= acrossStep;
                }
            }
            return static_cast<Int128>(v);
        };
        const Int128 slack = outline.slack(u0, v0);
        const Int128 vLast = r < (Int128(1) << 61)
                                 ? walk(std::int64_t(uFirst), std::int64_t(v0), std::int64_t(slack), std::int64_t(uLast))
                                 : walk(uFirst, static_cast<Int128>(v0), slack, uLast);
        // u and v(u) both move one way along the arc, so its ends bound it.
        const QPoint last = pixelAt(uLast, vLast);
        left = std::min<std::int64_t>({left, first.x(), last.x()});
        right = std::max<std::int64_t>({right, first.x(), last.x()});
        top = std::min<std::int64_t>({top, first.y(), last.y()});
        bottom = std::max<std::int64_t>({bottom, first.y(), last.y()});
    };
    const Int128 x0 = plotter.left(), x1 = plotter.right();
    const Int128 y0 = plotter.top(), y1 = plotter.bottom();
    for (const int sa : {1, -1}) {
        for (const int sb : {1, -1}) {
            // Arcs above and below the centre (u <= v) and left and right of it (u < v); at
            // u = 0 the two directions of u meet, and that pixel is set once.
            const Int128 uFirst = sa > 0 ? 0 : 1;
            arc(false, cx, sa, x0, x1, cy, sb, y0, y1, uFirst, lastWithDiagonal);
            arc(true, cy, sa, y0, y1, cx, sb, x0, x1, uFirst, lastBeforeDiagonal);
        }
    }
    markDirty(left, top, right, bottom);
}
