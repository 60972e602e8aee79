#include "platform/GlyphCache.h"

#include <QTest>

namespace {

QFont dejaVu(double points)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    return font;
}

} // namespace

class TestGlyphCache : public QObject
{
    Q_OBJECT

private slots:
    void standsAlone_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<bool>("alone");
        QTest::newRow("A") << 0x41 << true;
        QTest::newRow("blank") << 0x20 << true;
        QTest::newRow("tilde") << 0x7E << true;
        QTest::newRow("no-break space") << 0xA0 << true;
        QTest::newRow("a umlaut") << 0xE4 << true;
        QTest::newRow("y diaeresis") << 0xFF << true;
        QTest::newRow("euro") << 0x20AC << true;
        QTest::newRow("omega") << 0x3A9 << true;
        QTest::newRow("zhe") << 0x416 << true;
        QTest::newRow("han") << 0x6F22 << true;
        QTest::newRow("hangul syllable") << 0xAC00 << true;
        QTest::newRow("tab") << 0x09 << false;
        QTest::newRow("line feed") << 0x0A << false;
        QTest::newRow("delete") << 0x7F << false;
        QTest::newRow("next line") << 0x85 << false;
        QTest::newRow("soft hyphen") << 0xAD << false;
        QTest::newRow("combining acute") << 0x301 << false;
        QTest::newRow("variation selector") << 0xFE0F << false;
        QTest::newRow("high surrogate") << 0xD83D << false;
        QTest::newRow("low surrogate") << 0xDE00 << false;
        QTest::newRow("hebrew alef") << 0x5D0 << false;
        QTest::newRow("arabic alef") << 0x627 << false;
        QTest::newRow("arabic-indic digit") << 0x661 << false;
        QTest::newRow("devanagari ka") << 0x915 << false;
        QTest::newRow("hangul leading jamo") << 0x1100 << false;
        QTest::newRow("zero width joiner") << 0x200D << false;
        QTest::newRow("right-to-left override") << 0x202E << false;
        QTest::newRow("line separator") << 0x2028 << false;
        QTest::newRow("private use") << 0xE000 << false;
        QTest::newRow("object replacement") << 0xFFFC << false;
        QTest::newRow("unassigned") << 0xFFFF << false;
    }
    void standsAlone()
    {
        QFETCH(int, unit);
        QFETCH(bool, alone);
        QCOMPARE(GlyphCache::standsAlone(char16_t(unit)), alone);
        GlyphCache cache(dejaVu(8.25));
        QCOMPARE(cache.glyph(char16_t(unit)) != nullptr, alone);
    }

    void fontIsPlain()
    {
        QFont font = dejaVu(12);
        font.setKerning(true);
        font.setStyleStrategy(QFont::PreferAntialias);
        const GlyphCache cache(font);
        QVERIFY(!cache.font().kerning());
        QVERIFY(cache.font().styleStrategy() & QFont::NoAntialias);
        QCOMPARE(cache.font().family(), font.family());
        QCOMPARE(cache.font().pointSizeF(), 12.0);
    }

    // Spans in order, neither overlapping nor touching, and the box tight round them.
    void glyphShape_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("where"); // "baseline", "descender", "blank"
        for (const double points : {8.25, 20.0}) {
            QTest::addRow("I %g", points) << points << int(u'I') << QStringLiteral("baseline");
            QTest::addRow("dot %g", points) << points << int(u'.') << QStringLiteral("baseline");
            QTest::addRow("A umlaut %g", points) << points << 0xC4 << QStringLiteral("baseline");
            QTest::addRow("euro %g", points) << points << 0x20AC << QStringLiteral("baseline");
            QTest::addRow("g %g", points) << points << int(u'g') << QStringLiteral("descender");
            QTest::addRow("J %g", points) << points << int(u'J') << QStringLiteral("descender");
            QTest::addRow("blank %g", points) << points << 0x20 << QStringLiteral("blank");
        }
    }
    void glyphShape()
    {
        QFETCH(double, points);
        QFETCH(int, unit);
        QFETCH(QString, where);
        GlyphCache cache(dejaVu(points));
        const GlyphCache::Glyph *glyph = cache.glyph(char16_t(unit));
        QVERIFY(glyph);
        QCOMPARE(glyph->advance, cache.metrics().horizontalAdvance(QChar(unit)));
        QVERIFY(glyph->advance > 0);
        if (where == QLatin1String("blank")) {
            QVERIFY(glyph->spans.empty());
            QVERIFY(glyph->left > glyph->right);
            return;
        }
        QVERIFY(!glyph->spans.empty());
        const int baselineRow = cache.metrics().ascent() - 1;
        QCOMPARE(glyph->bottom == baselineRow, where == QLatin1String("baseline"));
        QVERIFY(glyph->top >= 0 && glyph->bottom < cache.metrics().height());
        QVERIFY(glyph->left >= -cache.leftReach());
        bool left = false, right = false;
        for (std::size_t i = 0; i < glyph->spans.size(); ++i) {
            const GlyphCache::Span &span = glyph->spans[i];
            QVERIFY(span.length > 0);
            QVERIFY(span.y >= glyph->top && span.y <= glyph->bottom);
            QVERIFY(span.x >= glyph->left && span.x + span.length - 1 <= glyph->right);
            left = left || span.x == glyph->left;
            right = right || span.x + span.length - 1 == glyph->right;
            if (i > 0) {
                const GlyphCache::Span &before = glyph->spans[i - 1];
                QVERIFY(before.y < span.y || before.x + before.length < span.x);
            }
        }
        QVERIFY(left && right);
        QCOMPARE(glyph->spans.front().y, glyph->top);
        QCOMPARE(glyph->spans.back().y, glyph->bottom);
    }

    void sameGlyphEveryTime()
    {
        GlyphCache first(dejaVu(8.25)), second(dejaVu(8.25));
        for (const char16_t unit : {u'T', u'x', u'\u20AC', u'\u0416'}) {
            const GlyphCache::Glyph glyph = *first.glyph(unit);
            QCOMPARE(*first.glyph(unit), glyph);
            QCOMPARE(*second.glyph(unit), glyph);
        }
        QVERIFY(!(*first.glyph(u'T') == *first.glyph(u'x')));
    }

    // The glyphs in use stay however many there are; a bounded cache drops the least recently used.
    void keepsTheGlyphsInUse()
    {
        GlyphCache cache(dejaVu(8.25));
        for (char16_t unit = 0x4E00; unit < 0x4E00 + 3000; ++unit)
            QVERIFY(cache.glyph(unit));
        QCOMPARE(cache.storedGlyphs(), std::size_t(3000));

        const GlyphCache::Glyph euro = *cache.glyph(u'\u20AC');
        const std::size_t spans = 30 * (euro.spans.size() + 40);
        GlyphCache bounded(dejaVu(8.25), spans);
        bounded.glyph(u'\u20AC');
        std::size_t stored = 0;
        for (char16_t unit = 0x4E00; unit < 0x4E00 + 200; ++unit) {
            QVERIFY(bounded.glyph(unit));
            QCOMPARE(*bounded.glyph(u'\u20AC'), euro); // used again after each new one
            stored = std::max(stored, bounded.storedGlyphs());
        }
        QVERIFY(stored > 10 && stored < 200);
        QVERIFY(bounded.holds(u'\u20AC') && bounded.holds(0x4E00 + 199));
        QVERIFY(!bounded.holds(0x4E00));
    }
};

QTEST_MAIN(TestGlyphCache)
#include "tst_GlyphCache.moc"
