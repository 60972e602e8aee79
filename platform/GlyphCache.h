#pragma once
// Pixels and advances of one font's single characters and laid-out runs, rendered once and kept.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRectF>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

// Needs a QGuiApplication. Renders at 96 dots per inch with antialiasing and kerning switched
// off, one character at a time, so that a run of characters that stand alone can be drawn as
// the row of their glyphs, each pen position the sum of the advances before it.
class GlyphCache
{
public:
    static constexpr int DotsPerMeter = 3780; // 96 dots per inch
    // An image at those dots, which every text drawn or measured here is laid out for.
    static QImage canvas(QSize size, QImage::Format format = QImage::Format_RGB32);

    // Set pixels x … x + length - 1 in row y, relative to the pen on the top edge of the line.
    struct Span
    {
        std::int32_t y = 0;
        std::int32_t x = 0;
        std::int32_t length = 0;
        bool operator==(const Span &) const = default;
    };
    struct Glyph
    {
        std::int32_t advance = 0;
        // The box round the spans, inclusive, in the spans' coordinates; left > right when empty.
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = -1;
        std::int32_t bottom = -1;
        std::vector<Span> spans; // row by row, left to right
        bool operator==(const Glyph &) const = default;
    };

    // The glyphs outside Latin-1 are kept up to this many spans in all (12 bytes each, room for
    // every character of the CJK blocks at the usual sizes); beyond it the least recently used
    // ones make room.
    static constexpr std::size_t DefaultMaxStoredSpans = std::size_t(1) << 20;

    explicit GlyphCache(const QFont &font, std::size_t maxStoredSpans = DefaultMaxStoredSpans);
    // Moved, never copied: the entries point into the cache's own lists of uses.
    GlyphCache(GlyphCache &&) = default;
    GlyphCache &operator=(GlyphCache &&) = default;
    GlyphCache(const GlyphCache &) = delete;
    GlyphCache &operator=(const GlyphCache &) = delete;

    // The given font with antialiasing and kerning switched off.
    const QFont &font() const { return mFont; }
    // Of font() at 96 dots per inch.
    const QFontMetrics &metrics() const { return mMetrics; }

    // Whether the UTF-16 code unit looks the same whatever stands next to it: not a surrogate,
    // mark, control or format character, not right-to-left, not of a script whose letters join.
    static bool standsAlone(char16_t unit);

    // Null when the unit does not stand alone or its glyph is not plain monochrome (a colour
    // emoji, say); then the text needs Qt's layout. Valid until the next call.
    const Glyph *glyph(char16_t unit)
    {
        if (unit < mLatin1.size()) {
            Entry &entry = mLatin1[unit];
            if (!entry.known) {
                entry.known = true;
                if (standsAlone(unit))
                    entry = render(QString(QChar(unit)), 0, false);
            }
            return entry.usable ? &entry.glyph : nullptr;
        }
        return otherGlyph(unit);
    }

    // How far any glyph rendered so far reaches left of its pen position, in pixels (>= 0).
    std::int32_t leftReach() const { return mLeftReach; }
    std::size_t storedGlyphs() const { return mOthers.items.size(); }
    bool holds(char16_t unit) const { return mOthers.items.count(unit) != 0; }

    // Of font() at 96 dots per inch, in fractions of a pixel as Qt's layout places glyphs.
    const QFontMetricsF &exactMetrics() const { return mExactMetrics; }

    // At most this many runs are kept, each for its pixels and for its advance.
    static constexpr std::size_t MaxStoredRuns = std::size_t(1) << 16;
    // The pixels of a run of characters as Qt lays it out as a whole, its pen phase / 64 pixel
    // right of a whole pixel (spans relative to that whole pixel), as a left-to-right line or in
    // the direction of its first strong letter; null when they are not plain monochrome. Kept
    // like the single glyphs, within a span budget of their own. Valid until the next call.
    const Glyph *run(const QString &text, int phase, bool leftToRight);
    // The exact advance of a run of characters as Qt lays it out as a whole.
    double runAdvance(const QString &text);
    // The box round the ink of every glyph as Qt lays the text out as one line, marks stacked
    // however high or low included, relative to the line's top-left corner; empty without ink.
    QRectF layoutInk(const QString &text) const;

private:
    struct Entry
    {
        bool known = false;
        bool usable = false;
        Glyph glyph;
        double exactAdvance = 0.0; // of a run whose advance alone is kept
    };
    // Entries up to a span budget and a number, the least recently used dropped first to make room.
    template <typename Key>
    struct Store
    {
        struct Item
        {
            Entry entry;
            typename std::list<Key>::iterator use;
        };
        std::unordered_map<Key, Item> items;
        std::list<Key> uses; // most recently used first
        std::size_t spans = 0;

        Entry *find(const Key &key)
        {
            const auto found = items.find(key);
            if (found == items.end())
                return nullptr;
            uses.splice(uses.begin(), uses, found->second.use);
            return &found->second.entry;
        }
        Entry &add(const Key &key, Entry entry, std::size_t maxSpans, std::size_t maxItems)
        {
            while (!uses.empty()
                   && (spans + entry.glyph.spans.size() > maxSpans || items.size() >= maxItems)) {
                const auto oldest = items.find(uses.back());
                spans -= oldest->second.entry.glyph.spans.size();
                items.erase(oldest);
                uses.pop_back();
            }
            spans += entry.glyph.spans.size();
            uses.push_front(key);
            return items.emplace(key, Item{std::move(entry), uses.begin()}).first->second.entry;
        }
    };

    Entry render(const QString &text, int phase, bool leftToRight);
    const Glyph *otherGlyph(char16_t unit);

    QFont mFont;
    QFontMetrics mMetrics;
    QFontMetricsF mExactMetrics;
    std::array<Entry, 256> mLatin1;
    Store<char16_t> mOthers;
    Store<QString> mRuns;
    Store<QString> mAdvances;
    std::size_t mMaxStoredSpans;
    std::int32_t mLeftReach = 0;
};
