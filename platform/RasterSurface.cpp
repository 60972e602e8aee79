#include "platform/RasterSurface.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace {

// Lines are clipped to the buffer grown by this many pixels before they become integers. Ends
// within it are rasterised as given, so which pixels a line sets inside the buffer does not
// depend on the buffer's size; beyond it, coordinates would overflow the integer arithmetic.
constexpr double kLineMargin = 4194304.0; // 2^22

// 96 dots per inch whatever the screen says, so that text has the same pixels everywhere.
constexpr int kDotsPerMeter = GlyphCache::DotsPerMeter;

// Beyond this many pixels from the buffer no text reaches into it: a string holds fewer than
// 2^31 characters, each advancing far less than 2^22 pixels.
constexpr double kTextReach = 9007199254740992.0; // 2^53

// Parts of laid-out text up to this many UTF-16 units keep their pixels for the next repaint.
constexpr qsizetype kStoredRunLength = 64;

constexpr quint32 kColourBits = 0x00FFFFFFu;
constexpr quint32 kOpaque = 0xFF000000u;

// The twip t lies in pixel floor(t / 15 + 0.5); this is the value before the floor.
double toPixelSpace(float twips)
{
    return static_cast<double>(twips) / RasterSurface::TwipsPerPixel + 0.5;
}

// 0x00BBGGRR and 0x00RRGGBB differ by swapping the outer bytes, in both directions.
// Grows a box of pixels; empty until the first add.
struct PixelBox
{
    double left = std::numeric_limits<double>::infinity();
    double top = left;
    double right = -left;
    double bottom = -left;

    void add(double x, double y)
    {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    // The glyph's pixels with the pen at (x, y).
    void add(const GlyphCache::Glyph &glyph, double x, double y)
    {
        if (glyph.left <= glyph.right) {
            add(x + glyph.left, y + glyph.top);
            add(x + glyph.right, y + glyph.bottom);
        }
    }
    QRect clipped(QSize size, double margin) const
    {
        const auto clamp = [](double v, int hi) { return static_cast<int>(std::clamp(v, -1.0, double(hi))); };
        const QRect box(QPoint(clamp(left - margin, size.width()), clamp(top - margin, size.height())),
                        QPoint(clamp(right + margin, size.width()), clamp(bottom + margin, size.height())));
        return left <= right ? box & QRect(QPoint(0, 0), size) : QRect();
    }
};

quint32 swapRedBlue(quint32 c)
{
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

QRgb toImageColour(std::int32_t color)
{
    return kOpaque | swapRedBlue(static_cast<quint32>(color));
}

std::int64_t ceilDiv(std::int64_t n, std::int64_t d) // d > 0
{
    return n / d + ((n % d > 0) ? 1 : 0);
}

// Cuts the segment (x1, y1)-(x2, y2), given in twips as 32-bit floats, down to the part inside
// the box. The line is taken as a·x + b·y = c, where c comes from products of floats, which
// doubles hold exactly; so where the line crosses the box stays exact to a fraction of a pixel
// even when both ends lie 1e30 away. False when the segment misses the box.
bool clipToBox(double &x1, double &y1, double &x2, double &y2, const QRectF &box)
{
    const double a = y2 - y1;
    const double b = x1 - x2;
    const double c = x1 * y2 - y1 * x2;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    // Where the infinite line meets the box's edges, ordered along the segment's direction.
    double entry = std::numeric_limits<double>::infinity();
    double exit = -entry;
    QPointF entryPoint, exitPoint;
    const auto meet = [&](double x, double y) {
        const double along = x * dx + y * dy;
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
    const double start = x1 * dx + y1 * dy;
    const double end = x2 * dx + y2 * dy;
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

__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

// The pixel that holds the twip t, floor(t / TwipsPerPixel + 1/2), exact for every finite float: a float
// with a fraction is below 2^24, and below 2^40 doubles hold the quotient closely enough; a
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

// The largest s with s² <= n: a floating-point estimate, made exact by integer tests.
UInt128 squareRoot(Wide n)
{
    if (n.hi == 0 && n.lo < (UInt128(1) << 52)) {
        auto s = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(std::uint64_t(n.lo))));
        while (UInt128(s) * s > n.lo)
            --s;
        while (UInt128(s + 1) * (s + 1) <= n.lo)
            ++s;
        return s;
    }
    if (n.hi == 0 && n.lo < (UInt128(1) << 104)) {
        auto s = static_cast<UInt128>(std::sqrt(static_cast<long double>(n.lo)));
        while (s * s > n.lo)
            --s;
        while ((s + 1) * (s + 1) <= n.lo)
            ++s;
        return s;
    }
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

QFont defaultFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

// Writes one figure's pixels: the raster operation is folded into two masks once per figure,
// new = (old AND keep) XOR flip, which every one of the sixteen operations reduces to. Only
// pixels inside the clip are written; while covering, only those no figure has covered yet.
class RasterSurface::Plotter
{
public:
    Plotter(QImage &image, QRect clip, qsizetype *uncovered, quint32 keep, quint32 flip)
        : mBits(image.isNull() ? nullptr : reinterpret_cast<quint32 *>(image.scanLine(0)))
        , mStride(image.isNull() ? 0 : image.bytesPerLine() / 4)
        , mLeft(clip.left())
        , mTop(clip.top())
        , mRight(clip.right())
        , mBottom(clip.bottom())
        , mUncovered(uncovered)
        , mKeep(keep & kColourBits)
        , mFlip((flip & kColourBits) | kOpaque)
    {
    }

    qsizetype offset(std::int64_t x, std::int64_t y) const
    {
        return static_cast<qsizetype>(y) * mStride + static_cast<qsizetype>(x);
    }
    qsizetype stride() const { return mStride; }
    // The clip, inclusive.
    int left() const { return mLeft; }
    int top() const { return mTop; }
    int right() const { return mRight; }
    int bottom() const { return mBottom; }

    void plotAt(qsizetype offset) const
    {
        quint32 &p = mBits[offset];
        if (mUncovered) {
            if (p & kOpaque)
                return;
            --*mUncovered;
        }
        // Most figures are drawn with the plain pen, which needs no read of the old pixel.
        p = mKeep == 0 ? mFlip : (p & mKeep) ^ mFlip;
    }
    void plot(std::int64_t x, std::int64_t y) const
    {
        if (x >= mLeft && x <= mRight && y >= mTop && y <= mBottom)
            plotAt(offset(x, y));
    }

private:
    quint32 *mBits;
    qsizetype mStride;
    int mLeft;
    int mTop;
    int mRight;
    int mBottom;
    qsizetype *mUncovered;
    quint32 mKeep;
    quint32 mFlip;
};

RasterSurface::RasterSurface(QSize size)
    : mImage(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32)
    , mGlyphs(defaultFont())
{
    mImage.setDotsPerMeterX(kDotsPerMeter);
    mImage.setDotsPerMeterY(kDotsPerMeter);
    setBackColor(mBackColor);
}

void RasterSurface::setBackColor(std::int32_t color)
{
    mBackColor = color;
    mImage.fill(toImageColour(color));
    mDirty = mChanged = mClip = mImage.rect();
}

void RasterSurface::setFont(const QFont &font)
{
    mGlyphs = GlyphCache(font);
}

void RasterSurface::resize(QSize size)
{
    QImage resized(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    resized.setDotsPerMeterX(kDotsPerMeter);
    resized.setDotsPerMeterY(kDotsPerMeter);
    resized.fill(toImageColour(mBackColor));
    const int rows = std::min(mImage.height(), resized.height());
    const int columns = std::min(mImage.width(), resized.width());
    if (!mImage.isNull() && !resized.isNull()) {
        for (int y = 0; y < rows; ++y)
            std::memcpy(resized.scanLine(y), mImage.constScanLine(y), sizeof(quint32) * columns);
    }
    mImage = resized;
    mDirty = mChanged = mClip = mImage.rect();
}

std::int32_t RasterSurface::pixel(int x, int y) const
{
    if (!mImage.valid(x, y))
        return -1;
    const auto *row = reinterpret_cast<const quint32 *>(mImage.constScanLine(y));
    return static_cast<std::int32_t>(swapRedBlue(row[x] & kColourBits));
}

QRect RasterSurface::takeDirtyRect()
{
    return std::exchange(mDirty, QRect());
}

QRect RasterSurface::takeChangedRect()
{
    return std::exchange(mChanged, QRect());
}

void RasterSurface::markDirty(std::int64_t left, std::int64_t top, std::int64_t right,
                              std::int64_t bottom)
{
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, mImage.width() - 1);
    bottom = std::min<std::int64_t>(bottom, mImage.height() - 1);
    if (left > right || top > bottom)
        return;
    const QRect written{QPoint(int(left), int(top)), QPoint(int(right), int(bottom))};
    mDirty |= written;
    mChanged |= written;
}

RasterSurface::Plotter RasterSurface::plotterFor(std::int32_t color)
{
    const quint32 pen = swapRedBlue(static_cast<quint32>(color)) & kColourBits;
    const quint32 notPen = ~pen & kColourBits;
    const quint32 all = kColourBits;
    quint32 keep = 0;
    quint32 flip = pen;
    // Bit by bit the result is 0, 1, dst or NOT dst, chosen by the pen bit.
    switch (mDrawMode) {
    case 1: keep = 0; flip = 0; break;           // black
    case 2: keep = notPen; flip = notPen; break; // NOT (pen OR dst)
    case 3: keep = notPen; flip = 0; break;      // dst AND NOT pen
    case 4: keep = 0; flip = notPen; break;      // NOT pen
    case 5: keep = pen; flip = pen; break;       // pen AND NOT dst
    case 6: keep = all; flip = all; break;       // NOT dst
    case 7: keep = all; flip = pen; break;       // pen XOR dst
    case 8: keep = pen; flip = all; break;       // NOT (pen AND dst)
    case 9: keep = pen; flip = 0; break;         // pen AND dst
    case 10: keep = all; flip = notPen; break;   // NOT (pen XOR dst)
    case 11: keep = all; flip = 0; break;        // dst
    case 12: keep = pen; flip = notPen; break;   // dst OR NOT pen
    case 14: keep = notPen; flip = all; break;   // pen OR NOT dst
    case 15: keep = notPen; flip = pen; break;   // pen OR dst
    case 16: keep = 0; flip = all; break;        // white
    default: keep = 0; flip = pen; break;        // 13 and anything undefined: pen
    }
    return Plotter(mImage, mClip, mCovering ? &mUncovered : nullptr, keep, flip);
}

void RasterSurface::PSet(float x, float y, std::int32_t color)
{
    const double px = toPixelSpace(x);
    const double py = toPixelSpace(y);
    if (!(px >= mClip.left() && px < mClip.right() + 1 && py >= mClip.top()
          && py < mClip.bottom() + 1))
        return; // also every NaN
    if (mDrawMode == 11)
        return;
    const auto ix = static_cast<std::int64_t>(px);
    const auto iy = static_cast<std::int64_t>(py);
    plotterFor(color).plot(ix, iy);
    markDirty(ix, iy, ix, iy);
}

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
    const std::int64_t aFirst = a0 + sa * first;
    const std::int64_t bFirst = b0 + sb * jFirst;
    const std::int64_t aLast = a0 + sa * last;
    const std::int64_t bLast = b0 + sb * jLast;

    const qsizetype majorStep = xMajor ? sa : sa * plotter.stride();
    const qsizetype minorStep = xMajor ? sb * plotter.stride() : sb;
    qsizetype at = xMajor ? plotter.offset(aFirst, bFirst) : plotter.offset(bFirst, aFirst);
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

    if (xMajor)
        markDirty(std::min(aFirst, aLast), std::min(bFirst, bLast), std::max(aFirst, aLast),
                  std::max(bFirst, bLast));
    else
        markDirty(std::min(bFirst, bLast), std::min(aFirst, aLast), std::max(bFirst, bLast),
                  std::max(aFirst, aLast));
}

void RasterSurface::Circle(float x, float y, float radius)
{
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius) || mDrawMode == 11)
        return;
    const Int128 cx = pixelOf(x);
    const Int128 cy = pixelOf(y);
    const Int128 r = pixelOf(std::abs(radius));
    const Int128 right = mImage.width() - 1;
    const Int128 bottom = mImage.height() - 1;
    if (cx + r < 0 || cx - r > right || cy + r < 0 || cy - r > bottom)
        return;
    const Plotter plotter = plotterFor(mForeColor);
    if (cx - r >= mClip.left() && cy - r >= mClip.top() && cx + r <= mClip.right()
        && cy + r <= mClip.bottom()) {
        drawSmallCircle(plotter, std::int64_t(cx), std::int64_t(cy), std::int64_t(r));
        markDirty(std::int64_t(cx - r), std::int64_t(cy - r), std::int64_t(cx + r),
                  std::int64_t(cy + r));
    } else {
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

void RasterSurface::Print(const QString &text)
{
    if (!mImage.isNull() && !text.isEmpty() && !printGlyphs(text))
        printWithLayout(text);
    mCurrentY += static_cast<float>(mGlyphs.metrics().height() * TwipsPerPixel);
}

// Copies each glyph's spans into the buffer in ForeColor. False, with nothing drawn, when a
// character does not stand alone.
bool RasterSurface::printGlyphs(const QString &text)
{
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype count = text.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (!mGlyphs.glyph(units[i]))
            return false;
    }
    const double px = std::floor(toPixelSpace(mCurrentX));
    const double py = std::floor(toPixelSpace(mCurrentY));
    if (!(std::abs(px) < kTextReach && std::abs(py) < kTextReach))
        return true; // far away or NaN: nothing to draw
    TextPen pen{static_cast<std::int64_t>(px), static_cast<std::int64_t>(py),
                toImageColour(mForeColor)};
    // Advances are never negative, so past the right edge nothing more can come in.
    for (qsizetype i = 0; i < count && pen.x - mGlyphs.leftReach() < mImage.width(); ++i) {
        const GlyphCache::Glyph &glyph = *mGlyphs.glyph(units[i]); // vouched for above
        pen.blit(*this, glyph);
        pen.x += glyph.advance;
    }
    markDirty(pen.left, pen.upper, pen.right, pen.lower);
    return true;
}

void RasterSurface::TextPen::blit(RasterSurface &surface, const GlyphCache::Glyph &glyph)
{
    const QRect &clip = surface.mClip;
    const std::int64_t gLeft = x + glyph.left;
    const std::int64_t gRight = x + glyph.right;
    const std::int64_t gTop = top + glyph.top;
    const std::int64_t gBottom = top + glyph.bottom;
    if (!(gLeft <= gRight && gRight >= clip.left() && gLeft <= clip.right()
          && gBottom >= clip.top() && gTop <= clip.bottom()))
        return;
    auto *bits = reinterpret_cast<quint32 *>(surface.mImage.bits());
    const qsizetype stride = surface.mImage.bytesPerLine() / 4;
    const bool inside = gLeft >= clip.left() && gRight <= clip.right() && gTop >= clip.top()
        && gBottom <= clip.bottom();
    for (const GlyphCache::Span &span : glyph.spans) {
        const std::int64_t y = top + span.y;
        std::int64_t from = x + span.x;
        std::int64_t to = from + span.length;
        if (!inside) {
            if (y < clip.top() || y > clip.bottom())
                continue;
            from = std::max<std::int64_t>(from, clip.left());
            to = std::min<std::int64_t>(to, clip.right() + 1);
            if (from >= to)
                continue;
        }
        quint32 *row = bits + static_cast<qsizetype>(y) * stride;
        if (surface.mCovering)
            surface.cover(row + from, row + to, colour);
        else
            std::fill(row + from, row + to, colour);
    }
    left = std::min(left, gLeft);
    right = std::max(right, gRight);
    upper = std::min(upper, gTop);
    lower = std::max(lower, gBottom);
}

void RasterSurface::cover(quint32 *from, quint32 *to, quint32 colour)
{
    for (quint32 *p = from; p != to; ++p) {
        if (!(*p & kOpaque)) {
            *p = colour;
            --mUncovered;
        }
    }
}

void RasterSurface::beginCovering(const QRect &area)
{
    mClip = area & mImage.rect();
    mCovering = true;
    mCoverSpoilt = false;
    mUncovered = 0;
    for (int y = mClip.top(); y <= mClip.bottom(); ++y) {
        auto *row = reinterpret_cast<quint32 *>(mImage.scanLine(y));
        for (int x = mClip.left(); x <= mClip.right(); ++x)
            row[x] &= kColourBits;
        mUncovered += mClip.width();
    }
}

void RasterSurface::endCovering()
{
    const quint32 background = toImageColour(mBackColor);
    for (int y = mClip.top(); y <= mClip.bottom() && mUncovered > 0; ++y) {
        auto *row = reinterpret_cast<quint32 *>(mImage.scanLine(y));
        cover(row + mClip.left(), row + mClip.right() + 1, background);
    }
    if (!mClip.isEmpty())
        markDirty(mClip.left(), mClip.top(), mClip.right(), mClip.bottom());
    mClip = mImage.rect();
    mCovering = false;
}

// Qt lays out a line as a whole: it takes the line's direction from its first strong letter,
// reorders right-to-left runs, places marks on their base letters, sets tabs from the line's
// start, and places each glyph at the sum of the exact advances before it. A left-to-right
// line falls apart without a change of pixels after a blank that stays left-to-right, where no
// mark or control follows: one after a left-to-right letter or before one. That needs a line
// in which no character sets directions or positions for the rest of it. Each part is then
// laid out by itself, its pen where the parts before it ended, to the 64th of a pixel. So only the parts that reach the buffer are drawn, and a part that
// repeats at the same fraction of a pixel is drawn from its stored pixels.
template <typename Visit>
void RasterSurface::forLaidOutParts(const QString &text, double px, double py, Visit &&visit) const
{
    const QFontMetricsF &metrics = mGlyphs.exactMetrics();
    const int lineHeight = mGlyphs.metrics().height();
    // Room for glyphs that reach beyond their advance, such as a j's tail.
    const int overhang = lineHeight;
    if (!(std::abs(px) < kTextReach && py < mImage.height() && py + lineHeight > 0.0))
        return;
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype count = text.size();
    bool divisible = true;
    bool directionKnown = false;
    for (qsizetype i = 0; i < count && divisible; ++i) {
        switch (QChar(units[i]).direction()) {
        case QChar::DirL:
            directionKnown = true;
            break;
        case QChar::DirR: case QChar::DirAL:
            divisible = directionKnown;
            directionKnown = true;
            break;
        case QChar::DirB: case QChar::DirS: case QChar::DirLRE: case QChar::DirLRO:
        case QChar::DirRLE: case QChar::DirRLO: case QChar::DirPDF: case QChar::DirLRI:
        case QChar::DirRLI: case QChar::DirFSI: case QChar::DirPDI:
            divisible = false;
            break;
        default:
            divisible = units[i] != QChar::LineSeparator;
            break;
        }
    }
    const auto strong = [](QChar::Direction direction) {
        return direction == QChar::DirL || direction == QChar::DirR || direction == QChar::DirAL;
    };
    bool leftBefore = true; // the last strong letter so far is left-to-right, or there is none
    // Each part is laid out as a left-to-right line, which Qt would not do by itself for a part
    // that begins with a right-to-left letter.
    const auto startsPart = [&](qsizetype i) {
        if (units[i - 1] != u' ')
            return false;
        const QChar next(units[i]);
        switch (next.category()) {
        case QChar::Mark_NonSpacing: case QChar::Mark_SpacingCombining: case QChar::Mark_Enclosing:
        case QChar::Other_Control: case QChar::Other_Format: case QChar::Other_Surrogate:
        case QChar::Other_PrivateUse: case QChar::Other_NotAssigned:
            return false;
        default:
            return leftBefore || next.direction() == QChar::DirL;
        }
    };
    double offset = 0.0; // of the part's pen from px, in 64ths of a pixel, exact in a double
    for (qsizetype begin = 0; begin < count && px + offset - overhang < mImage.width();) {
        qsizetype end = begin;
        do {
            const QChar::Direction direction = QChar(units[end]).direction();
            if (strong(direction))
                leftBefore = direction == QChar::DirL;
            ++end;
        } while (end < count && !(divisible && startsPart(end)));
        const QString part = text.mid(begin, end - begin);
        begin = end;
        const double advance = part.size() <= kStoredRunLength ? mGlyphs.runAdvance(part)
                                                               : metrics.horizontalAdvance(part);
        if (px + offset + advance + overhang > 0.0) {
            const double whole = std::floor(offset);
            const int phase = static_cast<int>((offset - whole) * 64.0);
            const GlyphCache::Glyph *stored =
                part.size() <= kStoredRunLength ? mGlyphs.run(part, phase, divisible) : nullptr;
            visit(part, px + offset, static_cast<std::int64_t>(px + whole), stored, divisible);
        }
        offset += advance;
    }
}

void RasterSurface::printWithLayout(const QString &text)
{
    const double px = std::floor(toPixelSpace(mCurrentX));
    const double py = std::floor(toPixelSpace(mCurrentY));
    TextPen pen{static_cast<std::int64_t>(px), static_cast<std::int64_t>(py),
                toImageColour(mForeColor)};
    forLaidOutParts(text, px, py, [&](const QString &part, double x, std::int64_t whole,
                                      const GlyphCache::Glyph *stored, bool leftToRight) {
        pen.x = whole;
        if (stored)
            pen.blit(*this, *stored);
        else
            paintLaidOut(part, x, leftToRight, pen);
    });
    markDirty(pen.left, pen.upper, pen.right, pen.lower);
}


// Qt's own drawing, for what the stored pixels cannot show (colour glyphs, very long parts).
// While covering, it goes through a layer of its own, and a pixel that is not opaque there
// cannot be covered: the covering is then spoilt.
void RasterSurface::paintLaidOut(const QString &part, double x, bool leftToRight, TextPen &pen)
{
    const QFontMetrics &metrics = mGlyphs.metrics();
    const QPointF at(x, static_cast<double>(pen.top + metrics.ascent()));
    const auto paint = [&](QImage &target, QPointF origin) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setClipRect(mClip.translated(-origin.toPoint()));
        painter.setFont(mGlyphs.font());
        painter.setPen(QColor::fromRgb(pen.colour));
        if (leftToRight)
            painter.setLayoutDirection(Qt::LeftToRight);
        painter.drawText(at - origin, part);
    };
    if (!mCovering) {
        paint(mImage, QPointF());
    } else if (!mClip.isEmpty()) {
        QImage layer(mClip.size(), QImage::Format_ARGB32);
        layer.setDotsPerMeterX(kDotsPerMeter);
        layer.setDotsPerMeterY(kDotsPerMeter);
        layer.fill(Qt::transparent);
        paint(layer, QPointF(mClip.topLeft()));
        for (int y = 0; y < layer.height(); ++y) {
            const auto *source = reinterpret_cast<const quint32 *>(layer.constScanLine(y));
            auto *row = reinterpret_cast<quint32 *>(mImage.scanLine(mClip.top() + y)) + mClip.left();
            for (int i = 0; i < layer.width(); ++i) {
                const quint32 alpha = source[i] & kOpaque;
                if (alpha == kOpaque)
                    cover(row + i, row + i + 1, source[i]);
                else if (alpha != 0)
                    mCoverSpoilt = true;
            }
        }
    }
    // Marks may stack far above or below the line.
    const QRect reach = layoutReach(part, std::floor(x), static_cast<double>(pen.top));
    if (!reach.isEmpty()) {
        pen.left = std::min<std::int64_t>(pen.left, reach.left());
        pen.right = std::max<std::int64_t>(pen.right, reach.right());
        pen.upper = std::min<std::int64_t>(pen.upper, reach.top());
        pen.lower = std::max<std::int64_t>(pen.lower, reach.bottom());
    }
}

QRect RasterSurface::pointsReach(std::initializer_list<QPointF> points, double margin) const
{
    PixelBox box;
    for (const QPointF &point : points)
        // Far or invalid values only need to stay far.
        if (std::isfinite(point.x()) && std::isfinite(point.y()))
            box.add(std::floor(point.x() / TwipsPerPixel + 0.5), std::floor(point.y() / TwipsPerPixel + 0.5));
    return box.clipped(size(), 1.0 + margin / TwipsPerPixel);
}

QRect RasterSurface::textReach(const QString &text, float x, float y) const
{
    const double px = std::floor(toPixelSpace(x));
    const double py = std::floor(toPixelSpace(y));
    if (text.isEmpty() || !(std::abs(px) < kTextReach && std::abs(py) < kTextReach))
        return QRect();
    // Glyph by glyph as printGlyphs draws them, else part by part as printWithLayout does.
    PixelBox box;
    double pen = px;
    for (const QChar ch : text) {
        const GlyphCache::Glyph *glyph = mGlyphs.glyph(ch.unicode());
        if (!glyph) {
            QRect reach;
            forLaidOutParts(text, px, py, [&](const QString &part, double x, std::int64_t whole,
                                              const GlyphCache::Glyph *stored, bool) {
                if (stored) {
                    PixelBox run;
                    run.add(*stored, static_cast<double>(whole), py);
                    reach |= run.clipped(size(), 0.0);
                } else {
                    reach |= layoutReach(part, std::floor(x), py);
                }
            });
            return reach;
        }
        box.add(*glyph, pen, py);
        pen += glyph->advance;
    }
    return box.clipped(size(), 0.0);
}

QRect RasterSurface::layoutReach(const QString &text, double px, double py) const
{
    // The ink of the line as Qt lays it out, and the line itself, with room for what painting
    // it may set beside the glyphs' boxes.
    const int lineHeight = mGlyphs.metrics().height();
    const QRectF ink = mGlyphs.layoutInk(text);
    PixelBox box;
    box.add(px, py);
    box.add(px + mGlyphs.exactMetrics().horizontalAdvance(text), py + lineHeight);
    if (!ink.isEmpty()) {
        box.add(px + ink.left(), py + ink.top());
        box.add(px + ink.right(), py + ink.bottom());
    }
    return box.clipped(size(), 1.0 + lineHeight);
}

float RasterSurface::TextWidth(const QString &text) const
{
    std::int64_t width = 0;
    for (const QChar ch : text) {
        const GlyphCache::Glyph *glyph = mGlyphs.glyph(ch.unicode());
        if (!glyph) {
            width = mGlyphs.metrics().horizontalAdvance(text);
            break;
        }
        width += glyph->advance;
    }
    return static_cast<float>(static_cast<double>(width) * TwipsPerPixel);
}
