#include "platform/GlyphCache.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>

namespace {

constexpr QRgb kInk = 0xFF000000u;
constexpr QRgb kPaper = 0xFFFFFFFFu;

QFont plainFont(QFont font)
{
    font.setStyleStrategy(
        static_cast<QFont::StyleStrategy>(font.styleStrategy() | QFont::NoAntialias));
    font.setKerning(false);
    return font;
}

template <typename Metrics>
Metrics metricsAt96Dpi(const QFont &font)
{
    const QImage device = GlyphCache::canvas(QSize(1, 1));
    return Metrics(font, &device);
}

bool inRange(char16_t unit, char16_t first, char16_t last)
{
    return unit >= first && unit <= last;
}

} // namespace

GlyphCache::GlyphCache(const QFont &font, std::size_t maxStoredSpans)
    : mFont(plainFont(font)), mMetrics(metricsAt96Dpi<QFontMetrics>(mFont)), mExactMetrics(metricsAt96Dpi<QFontMetricsF>(mFont)), mMaxStoredSpans(maxStoredSpans)
{
}

QImage GlyphCache::canvas(QSize size, QImage::Format format)
{
    QImage image(size, format);
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    return image;
}

bool GlyphCache::standsAlone(char16_t unit)
{
    if (unit < 0x100) // all of Latin-1 but the controls and the soft hyphen
        return (unit >= 0x20 && unit < 0x7F) || (unit >= 0xA0 && unit != 0xAD);
    const QChar ch(unit);
    switch (ch.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        break;
    }
    // Anything that could start right-to-left reordering; European digits and neutrals
    // stay in place in a line without right-to-left letters.
    switch (ch.direction()) {
    case QChar::DirL:
    case QChar::DirEN:
    case QChar::DirES:
    case QChar::DirET:
    case QChar::DirCS:
    case QChar::DirWS:
    case QChar::DirON:
        break;
    default:
        return false;
    }
    if (unit == 0xFFFC) // stands for an embedded object in Qt's layout
        return false;
    switch (ch.script()) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Armenian:
    case QChar::Script_Georgian:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Bopomofo:
        return true;
    case QChar::Script_Hangul: // but not the jamo that combine into syllables
        return !inRange(unit, 0x1100, 0x11FF) && !inRange(unit, 0xA960, 0xA97F)
               && !inRange(unit, 0xD7B0, 0xD7FF);
    default:
        return false;
    }
}

const GlyphCache::Glyph *GlyphCache::otherGlyph(char16_t unit)
{
    const Entry *entry = mOthers.find(unit);
    if (!entry) {
        if (!standsAlone(unit))
            return nullptr;
        entry = &mOthers.add(unit, render(QString(QChar(unit)), 0, false), mMaxStoredSpans, std::size_t(1) << 16); // every unit
    }
    return entry->usable ? &entry->glyph : nullptr;
}

const GlyphCache::Glyph *GlyphCache::run(const QString &text, int phase, bool leftToRight)
{
    const QString key = QChar(char16_t(phase + (leftToRight ? 64 : 0))) + text;
    const Entry *entry = mRuns.find(key);
    if (!entry)
        entry = &mRuns.add(key, render(text, phase, leftToRight), mMaxStoredSpans, MaxStoredRuns);
    return entry->usable ? &entry->glyph : nullptr;
}

double GlyphCache::runAdvance(const QString &text)
{
    Entry *entry = mAdvances.find(text);
    if (!entry) {
        Entry measured;
        measured.exactAdvance = mExactMetrics.horizontalAdvance(text);
        entry = &mAdvances.add(text, std::move(measured), 0, MaxStoredRuns);
    }
    return entry->exactAdvance;
}

// Renders the text alone with the pen phase / 64 pixel right of a whole pixel and collects the
// ink row by row.
GlyphCache::Entry GlyphCache::render(const QString &text, int phase, bool leftToRight)
{
    Entry entry;
    entry.known = true;
    Glyph &glyph = entry.glyph;
    glyph.advance = mMetrics.horizontalAdvance(text);
    if (glyph.advance < 0)
        return entry;

    // Relative to the pen on the baseline; the margin catches pixels that the outlines' boxes
    // leave out after hinting and rounding. The ink is each glyph's box where the layout puts
    // it, marks stacked however high or low included: the font's box for the whole text leaves
    // them out (and for a character that no font has lies far away from the line).
    const int margin = mMetrics.height() + 2;
    const QRect line(0, -mMetrics.ascent(), glyph.advance + 1, mMetrics.height());
    const QRect ink = layoutInk(text).translated(0.0, -mMetrics.ascent()).toAlignedRect();
    const QRect area = ink.united(line).adjusted(-margin, -margin, margin, margin);
    QImage image = canvas(area.size());
    image.fill(kPaper);
    QPainter painter(&image);
    painter.setFont(mFont);
    if (leftToRight)
        painter.setLayoutDirection(Qt::LeftToRight);
    painter.setPen(QColor::fromRgb(kInk));
    painter.drawText(QPointF(-area.left() + phase / 64.0, -area.top()), text);
    painter.end();

    const int rowOffset = area.top() + mMetrics.ascent(); // image row 0 below the line's top
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width;) {
            if (row[x] == kPaper) {
                ++x;
                continue;
            }
            const int start = x;
            for (; x < width && row[x] != kPaper; ++x) {
                if (row[x] != kInk) { // greyed or coloured: not something a pen colour can redo
                    entry.glyph = Glyph();
                    return entry;
                }
            }
            glyph.spans.push_back({y + rowOffset, start + area.left(), x - start});
        }
    }
    if (!glyph.spans.empty()) {
        glyph.top = glyph.spans.front().y;
        glyph.bottom = glyph.spans.back().y;
        glyph.left = glyph.spans.front().x;
        glyph.right = glyph.left;
        for (const Span &span : glyph.spans) {
            glyph.left = std::min(glyph.left, span.x);
            glyph.right = std::max(glyph.right, span.x + span.length - 1);
        }
        mLeftReach = std::max(mLeftReach, -glyph.left);
    }
    entry.usable = true;
    return entry;
}

QRectF GlyphCache::layoutInk(const QString &text) const
{
    const QImage device = canvas(QSize(1, 1));
    QTextLayout layout(text, mFont, &device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    // Each glyph's own box where the layout put it: a font's box for the whole line leaves out
    // marks that the layout stacks.
    QRectF ink;
    for (const QGlyphRun &run : layout.glyphRuns()) {
        const QRawFont font = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i)
            ink |= font.boundingRect(glyphs[i]).translated(positions[i]);
    }
    return ink;
}
