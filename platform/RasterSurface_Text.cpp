// The raster surface's text: glyph by glyph from the glyph cache, or part by part as Qt lays it out.

#include "platform/RasterSurface.h"

#include "platform/LaidOutLine.h"
#include "platform/RasterSurfaceParts.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace RasterSurfaceParts;

namespace {

// Qt stacks each mark above or below the one before it on the same letter.
qsizetype longestRunOfMarks(const QString &text)
{
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar ch : text) {
        run = ch.isMark() ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

void RasterSurface::Print(const QString &text)
{
    const double px = std::floor(toPixelSpace(mCurrentX));
    const double py = std::floor(toPixelSpace(mCurrentY));
    if (!mImage.isNull() && !text.isEmpty() && !printGlyphs(text, px, py))
        printWithLayout(text, px, py);
    mCurrentY += static_cast<float>(mGlyphs.metrics().height() * TwipsPerPixel);
}

// Copies each glyph's spans into the buffer in ForeColor. False, with nothing drawn, when a
// character does not stand alone.
bool RasterSurface::printGlyphs(const QString &text, double px, double py)
{
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype count = text.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (!mGlyphs.glyph(units[i]))
            return false;
    }
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

// Qt lays out a line as a whole: it takes the line's direction from its first strong letter,
// reorders right-to-left runs, places marks on their base letters, sets tabs from the line's
// start, and places each glyph at the sum of the exact advances before it. A left-to-right
// line falls apart without a change of pixels after a blank that stays left-to-right, where no
// mark or control follows: one after a left-to-right letter or before one. That needs a line
// in which no character sets directions or positions for the rest of it. Each part is then
// laid out by itself, its pen where the parts before it ended, to the 64th of a pixel. So only the parts that reach the buffer are drawn, and a part that
// repeats at the same fraction of a pixel is drawn from its stored pixels. A line longer than
// one of Qt's items falls apart into those items (LaidOutLine), whatever its directions.
template <typename Visit>
void RasterSurface::forLaidOutParts(const QString &text, double px, double py, Visit &&visit) const
{
    const int lineHeight = mGlyphs.metrics().height();
    // Room for glyphs that reach beyond their advance, such as a j's tail.
    const int overhang = lineHeight;
    if (!(std::abs(px) < kTextReach))
        return;
    if (!(py < mImage.height() && py + lineHeight > 0.0)) {
        // Marks may reach in from a line above or below the buffer, each less than a line high.
        const double stack = static_cast<double>(lineHeight) * static_cast<double>(longestRunOfMarks(text));
        if (!(py - stack < mImage.height() && py + lineHeight + stack > 0.0))
            return;
    }
    double offset = 0.0; // of the part's pen from px, in 64ths of a pixel, exact in a double
    const auto before = [&] { return px + offset - overhang < mImage.width(); };
    const auto place = [&](const QString &part, double advance, bool storable,
                           Qt::LayoutDirection direction) {
        if (px + offset + advance + overhang > 0.0) {
            const double whole = std::floor(offset);
            const int phase = static_cast<int>((offset - whole) * 64.0);
            const GlyphCache::Glyph *stored =
                storable ? mGlyphs.run(part, phase, direction == Qt::LeftToRight) : nullptr;
            visit(part, px + offset, static_cast<std::int64_t>(px + whole), stored, direction);
        }
        offset += advance;
    };
    if (text.size() > LaidOutLine::MaxItemLength) {
        const LaidOutLine line(text, mGlyphs.font());
        if (line.byItems()) {
            for (qsizetype i = 0; i < line.size() && before(); ++i)
                place(line.text(i), line.advance(i), false, line.direction(i));
            return;
        }
    }
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype count = text.size();
    const auto strong = [](QChar::Direction direction) {
        return direction == QChar::DirL || direction == QChar::DirR || direction == QChar::DirAL;
    };
    // Paragraph and segment separators, embeddings, overrides and isolates keep the text whole.
    constexpr std::uint32_t keepWhole = 1u << QChar::DirB | 1u << QChar::DirS | 1u << QChar::DirLRE | 1u << QChar::DirLRO
                                        | 1u << QChar::DirRLE | 1u << QChar::DirRLO | 1u << QChar::DirPDF | 1u << QChar::DirLRI
                                        | 1u << QChar::DirRLI | 1u << QChar::DirFSI | 1u << QChar::DirPDI;
    bool divisible = true;
    bool directionKnown = false;
    for (qsizetype i = 0; i < count && divisible; ++i) {
        const QChar::Direction direction = QChar(units[i]).direction();
        if (direction == QChar::DirR || direction == QChar::DirAL)
            divisible = directionKnown;
        else if (direction != QChar::DirL)
            divisible = !(keepWhole >> direction & 1u) && units[i] != QChar::LineSeparator;
        directionKnown = directionKnown || strong(direction);
    }
    bool leftBefore = true; // the last strong letter so far is left-to-right, or there is none
    // Each part is laid out as a left-to-right line, which Qt would not do by itself for a part
    // that begins with a right-to-left letter.
    const auto startsPart = [&](qsizetype i) {
        if (units[i - 1] != u' ')
            return false;
        const QChar next(units[i]);
        // Not at a mark, nor at a control, format, surrogate, private or unassigned unit (the
        // categories from Other_Control to Other_NotAssigned).
        const QChar::Category category = next.category();
        if (next.isMark() || (category >= QChar::Other_Control && category <= QChar::Other_NotAssigned))
            return false;
        return leftBefore || next.direction() == QChar::DirL;
    };
    for (qsizetype begin = 0; begin < count && before();) {
        qsizetype end = begin;
        do {
            const QChar::Direction direction = QChar(units[end]).direction();
            if (strong(direction))
                leftBefore = direction == QChar::DirL;
            ++end;
        } while (end < count && !(divisible && startsPart(end)));
        const QString part = text.mid(begin, end - begin);
        begin = end;
        const bool storable = part.size() <= kStoredRunLength;
        place(part, storable ? mGlyphs.runAdvance(part) : mGlyphs.exactMetrics().horizontalAdvance(part), storable,
              divisible ? Qt::LeftToRight : Qt::LayoutDirectionAuto);
    }
}

void RasterSurface::printWithLayout(const QString &text, double px, double py)
{
    // Placed by the first part: a text far away or not a number has none.
    TextPen pen{0, 0, toImageColour(mForeColor)};
    forLaidOutParts(text, px, py, [&](const QString &part, double x, std::int64_t whole, const GlyphCache::Glyph *stored, Qt::LayoutDirection direction) {
        pen.x = whole;
        pen.top = static_cast<std::int64_t>(py);
        if (stored)
            pen.blit(*this, *stored);
        else
            paintLaidOut(part, x, direction, pen);
    });
    markDirty(pen.left, pen.upper, pen.right, pen.lower);
}

// Qt's own drawing, for what the stored pixels cannot show (colour glyphs, very long parts).
// While covering, it goes through a layer of its own, and a pixel that is not opaque there
// cannot be covered: the covering is then spoilt.
void RasterSurface::paintLaidOut(const QString &part, double x, Qt::LayoutDirection direction,
                                 TextPen &pen)
{
    const QFontMetrics &metrics = mGlyphs.metrics();
    const QPointF at(x, static_cast<double>(pen.top + metrics.ascent()));
    const auto paint = [&](QImage &target, QPointF origin) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setClipRect(mClip.translated(-origin.toPoint()));
        painter.setFont(mGlyphs.font());
        painter.setPen(QColor::fromRgb(pen.colour));
        if (direction != Qt::LayoutDirectionAuto) // else the painter's own, as for any line
            painter.setLayoutDirection(direction);
        painter.drawText(at - origin, part);
    };
    if (!mCovering) {
        paint(mImage, QPointF());
    } else if (!mClip.isEmpty()) {
        QImage layer = GlyphCache::canvas(mClip.size(), QImage::Format_ARGB32);
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

QRect RasterSurface::textReach(const QString &text, float x, float y) const
{
    const double px = std::floor(toPixelSpace(x));
    const double py = std::floor(toPixelSpace(y));
    if (text.isEmpty() || !(std::abs(px) < kTextReach && std::abs(py) < kTextReach))
        return QRect();
    // Glyph by glyph as printGlyphs draws them, else part by part as printWithLayout does. The
    // glyphs' boxes are joined in whole pixels from the first pen position, and only the join is
    // placed: every shape of a large drawing of texts is asked.
    std::int64_t pen = 0, left = std::numeric_limits<std::int64_t>::max(), right = std::numeric_limits<std::int64_t>::min();
    std::int32_t top = std::numeric_limits<std::int32_t>::max(), bottom = std::numeric_limits<std::int32_t>::min();
    for (const QChar ch : text) {
        const GlyphCache::Glyph *glyph = mGlyphs.glyph(ch.unicode());
        if (!glyph) {
            QRect reach;
            forLaidOutParts(text, px, py, [&](const QString &part, double x, std::int64_t whole, const GlyphCache::Glyph *stored, Qt::LayoutDirection) {
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
        if (glyph->left <= glyph->right) {
            left = std::min(left, pen + glyph->left);
            right = std::max(right, pen + glyph->right);
            top = std::min(top, glyph->top);
            bottom = std::max(bottom, glyph->bottom);
        }
        pen += glyph->advance;
    }
    PixelBox box;
    if (left <= right) {
        box.add(px + static_cast<double>(left), py + top);
        box.add(px + static_cast<double>(right), py + bottom);
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
