#pragma once
// A pixel buffer that stands in for a window's drawing: raster-op points, lines, circles and text in twips.

#include "platform/GlyphCache.h"
#include "shapes/DrawingSurface.h"
#include "shapes/PixelReach.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <limits>

// Needs a QGuiApplication for its font. Colours on the interface are 0x00BBGGRR; only their
// low 24 bits are drawn. A DrawMode outside 1 … 16 is kept as set but draws like 13.
class RasterSurface : public DrawingSurface, public PixelReach
{
public:
    static constexpr int TwipsPerPixel = 15;
    // The interface's colour value of a Qt colour.
    static std::int32_t colorValue(const QColor &color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }

    explicit RasterSurface(QSize size);

    std::int16_t getDrawMode() const override { return mDrawMode; }
    void setDrawMode(std::int16_t mode) override { mDrawMode = mode; }
    std::int32_t getForeColor() const override { return mForeColor; }
    void setForeColor(std::int32_t color) override { mForeColor = color; }
    std::int32_t getBackColor() const override { return mBackColor; }
    void setBackColor(std::int32_t color) override;

    void setCurrentX(float x) override { mCurrentX = x; }
    void setCurrentY(float y) override { mCurrentY = y; }
    float getCurrentX() const { return mCurrentX; }
    float getCurrentY() const { return mCurrentY; }

    void PSet(float x, float y, std::int32_t color) override;
    // Leaves out the end pixel, so a closed outline of Lines touches each corner once.
    void Line(float x1, float y1, float x2, float y2, std::int32_t color) override;
    void Circle(float x, float y, float radius) override;
    // Always drawn as with DrawMode 13; afterwards CurrentY is one line lower, CurrentX unchanged.
    // A text of characters that stand alone is drawn glyph by glyph, each glyph's pen the pen
    // before it moved on by that one's whole-pixel advance; any other goes through Qt's layout.
    void Print(const QString &text) override;
    // In whole pixels, as Print places the text.
    float TextWidth(const QString &text) const override;

    QRect pointsReach(std::initializer_list<QPointF> points, double margin) const override;
    QRect textReach(const QString &text, float x, float y) const override;
    QRect circleReach(float x, float y, float radius) const override;
    bool outlineMeets(float x, float y, float radius, const QRect &area) const override;

    // Stored with antialiasing and kerning switched off, so that text pixels are reproducible.
    void setFont(const QFont &font);
    const QFont &font() const { return mGlyphs.font(); }
    // Of a Print's line, in pixels.
    int lineHeight() const { return mGlyphs.metrics().height(); }

    // Keeps the drawing at its scale; new area gets the BackColor.
    void resize(QSize size);
    QSize size() const { return mImage.size(); }
    const QImage &image() const { return mImage; }
    // 0x00BBGGRR, or -1 outside the buffer.
    std::int32_t pixel(int x, int y) const;

    // The pixels written since the last call (possibly a little more), then starts afresh.
    QRect takeDirtyRect();
    // The same, counted apart: what was written since the drawing was last drawn whole.
    QRect takeChangedRect();

    // From now on the figures draw only inside the area, and each of its pixels takes the
    // colour of the first figure that reaches it: figures drawn from the last to the first,
    // with DrawMode 13, leave what drawing them in order leaves.
    void beginCovering(const QRect &area);
    // Whether every pixel of the area is taken.
    bool covered() const { return mUncovered == 0; }
    // Whether a text with colour glyphs came, whose pixels mix with what lies under them.
    bool coverSpoilt() const { return mCoverSpoilt; }
    // The pixels of the area not yet taken get the BackColor, as no figure reaches them.
    void coverUnreached(const QRect &area);
    // Figures draw only inside this part of the area being covered, and covered() tells of it.
    void narrowCovering(const QRect &part);
    // Narrows the part drawn in to the box of its pixels not yet taken, and returns that box.
    QRect narrowToUncovered();
    // The pixels that no figure reached get the BackColor; figures draw everywhere again.
    void endCovering();

private:
    class Plotter;

    Plotter plotterFor(std::int32_t color);
    void drawSegment(const Plotter &plotter, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                     std::int64_t y1);
    void drawSmallCircle(const Plotter &plotter, std::int64_t cx, std::int64_t cy, std::int64_t r);
    void drawCircleArcs(const Plotter &plotter, __int128 cx, __int128 cy, __int128 r);
    // Where text output stands, and the box of what it drew so far.
    struct TextPen
    {
        std::int64_t x;
        std::int64_t top;
        quint32 colour;
        std::int64_t left = std::numeric_limits<std::int64_t>::max();
        std::int64_t upper = std::numeric_limits<std::int64_t>::max();
        std::int64_t right = std::numeric_limits<std::int64_t>::min();
        std::int64_t lower = std::numeric_limits<std::int64_t>::min();

        // Copies the glyph's spans with the pen at x, clipped to the surface's clip.
        void blit(RasterSurface &surface, const GlyphCache::Glyph &glyph);
    };

    bool printGlyphs(const QString &text, double px, double py);
    // Calls visit(part, x, whole pixel of x, stored pixels or null, direction) for each part
    // of the text, with its top-left pixel at (px, py), that Qt's layout draws into the buffer.
    template <typename Visit>
    void forLaidOutParts(const QString &text, double px, double py, Visit &&visit) const;
    void printWithLayout(const QString &text, double px, double py);
    // The reach of a text that Qt lays out, with its top-left pixel at (px, py).
    QRect layoutReach(const QString &text, double px, double py) const;
    void paintLaidOut(const QString &part, double x, Qt::LayoutDirection direction, TextPen &pen);
    void markDirty(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
    // Writes the colour into the pixels of from … to that are not yet covered.
    void cover(quint32 *from, quint32 *to, quint32 colour);

    QImage mImage;
    mutable GlyphCache mGlyphs; // filled on demand, also while measuring
    QRect mDirty;
    QRect mChanged;
    QRect mClip; // the buffer, or the area being covered or the part of it drawn in
    QRect mCoverArea;
    bool mCovering = false;
    bool mCoverSpoilt = false;
    qsizetype mUncovered = 0;
    std::int16_t mDrawMode = 13;
    std::int32_t mForeColor = 0;
    std::int32_t mBackColor = 0x00FFFFFF;
    float mCurrentX = 0.0f;
    float mCurrentY = 0.0f;
};
