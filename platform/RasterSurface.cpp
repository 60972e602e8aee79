#include "platform/RasterSurface.h"

#include "platform/RasterSurfaceParts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

using namespace RasterSurfaceParts;

namespace {

QFont defaultFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

RasterSurface::RasterSurface(QSize size) : mGlyphs(defaultFont())
{
    resize(size);
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
    QImage resized = GlyphCache::canvas(size.expandedTo(QSize(0, 0)));
    resized.fill(toImageColour(mBackColor));
    const int rows = std::min(mImage.height(), resized.height());
    const int columns = std::min(mImage.width(), resized.width());
    for (int y = 0; y < rows; ++y)
        std::memcpy(resized.scanLine(y), mImage.constScanLine(y), sizeof(quint32) * columns);
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
    // clang-format off
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
    // clang-format on
    return Plotter(mImage, mClip, mCovering ? &mUncovered : nullptr, keep, flip);
}

void RasterSurface::PSet(float x, float y, std::int32_t color)
{
    const double px = toPixelSpace(x);
    const double py = toPixelSpace(y);
    if (!(px >= mClip.left() && px < mClip.right() + 1 && py >= mClip.top()
          && py < mClip.bottom() + 1)
        || mDrawMode == 11)
        return; // also every NaN
    const auto ix = static_cast<std::int64_t>(px);
    const auto iy = static_cast<std::int64_t>(py);
    plotterFor(color).plot(ix, iy);
    markDirty(ix, iy, ix, iy);
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
    mCoverArea = mClip;
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

void RasterSurface::coverUnreached(const QRect &area)
{
    const QRect inside = area & mClip;
    const quint32 background = toImageColour(mBackColor);
    for (int y = inside.top(); y <= inside.bottom() && mUncovered > 0; ++y) {
        auto *row = reinterpret_cast<quint32 *>(mImage.scanLine(y));
        cover(row + inside.left(), row + inside.right() + 1, background);
    }
}

void RasterSurface::narrowCovering(const QRect &part)
{
    mClip = part & mCoverArea;
    mUncovered = 0;
    for (int y = mClip.top(); y <= mClip.bottom(); ++y) {
        const auto *row = reinterpret_cast<const quint32 *>(mImage.constScanLine(y));
        for (int x = mClip.left(); x <= mClip.right(); ++x)
            mUncovered += !(row[x] & kOpaque);
    }
}

QRect RasterSurface::narrowToUncovered()
{
    int left = mClip.right() + 1, right = mClip.left() - 1, top = mClip.bottom() + 1, bottom = mClip.top() - 1;
    for (int y = mClip.top(); y <= mClip.bottom(); ++y) {
        const auto *row = reinterpret_cast<const quint32 *>(mImage.constScanLine(y));
        for (int x = mClip.left(); x <= mClip.right(); ++x)
            if (!(row[x] & kOpaque)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = y;
            }
    }
    if (left <= right)
        mClip = QRect(QPoint(left, top), QPoint(right, bottom));
    return left <= right ? mClip : QRect();
}

void RasterSurface::endCovering()
{
    narrowCovering(mCoverArea);
    coverUnreached(mClip);
    markDirty(mClip.left(), mClip.top(), mClip.right(), mClip.bottom());
    mClip = mImage.rect();
    mCovering = false;
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
