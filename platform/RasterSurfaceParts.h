#pragma once
// What the files of RasterSurface share: its pixel and colour constants, the box of pixels it
// measures reaches in, and the plotter that writes a figure's pixels.

#include "platform/RasterSurface.h"

#include <algorithm>
#include <cmath>

namespace RasterSurfaceParts {

// Lines are clipped to the buffer grown by this many pixels before they become integers. Ends
// within it are rasterised as given, so which pixels a line sets inside the buffer does not
// depend on the buffer's size; beyond it, coordinates would overflow the integer arithmetic.
constexpr double kLineMargin = 4194304.0; // 2^22

// Beyond this many pixels from the buffer no text reaches into it: a string holds fewer than
// 2^31 characters, each advancing far less than 2^22 pixels.
constexpr double kTextReach = 9007199254740992.0; // 2^53

// Parts of laid-out text up to this many UTF-16 units keep their pixels for the next repaint.
constexpr qsizetype kStoredRunLength = 64;

constexpr quint32 kColourBits = 0x00FFFFFFu;
constexpr quint32 kOpaque = 0xFF000000u;

// The twip t lies in pixel floor(t / 15 + 0.5); this is the value before the floor.
inline double toPixelSpace(float twips)
{
    return static_cast<double>(twips) / RasterSurface::TwipsPerPixel + 0.5;
}

// 0x00BBGGRR and 0x00RRGGBB differ by swapping the outer bytes, in both directions.
inline quint32 swapRedBlue(quint32 c)
{
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

inline QRgb toImageColour(std::int32_t color)
{
    return kOpaque | swapRedBlue(static_cast<quint32>(color));
}

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
        // Clamped to the surface itself where a box of it is asked for by every shape of a
        // large drawing: QRect's intersection is a call into Qt.
        const auto clamp = [](double v, int hi) { return static_cast<int>(std::clamp(v, 0.0, double(hi - 1))); };
        // Truncated towards zero, as the pixels' edges are found.
        if (!(left <= right) || size.isEmpty() || right + margin <= -1.0 || bottom + margin <= -1.0
            || left - margin >= size.width() || top - margin >= size.height())
            return QRect();
        return {QPoint(clamp(left - margin, size.width()), clamp(top - margin, size.height())),
                QPoint(clamp(right + margin, size.width()), clamp(bottom + margin, size.height()))};
    }
};

} // namespace RasterSurfaceParts

// Writes one figure's pixels: the raster operation is folded into two masks once per figure,
// new = (old AND keep) XOR flip, which every one of the sixteen operations reduces to. Only
// pixels inside the clip are written; while covering, only those no figure has covered yet.
class RasterSurface::Plotter
{
public:
    Plotter(QImage &image, QRect clip, qsizetype *uncovered, quint32 keep, quint32 flip)
        : mBits(image.isNull() ? nullptr : reinterpret_cast<quint32 *>(image.scanLine(0))),
          mStride(image.isNull() ? 0 : image.bytesPerLine() / 4),
          mLeft(clip.left()),
          mTop(clip.top()),
          mRight(clip.right()),
          mBottom(clip.bottom()),
          mUncovered(uncovered),
          mKeep(keep & RasterSurfaceParts::kColourBits),
          mFlip((flip & RasterSurfaceParts::kColourBits) | RasterSurfaceParts::kOpaque)
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
            if (p & RasterSurfaceParts::kOpaque)
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
