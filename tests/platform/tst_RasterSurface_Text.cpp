// The raster surface's text: glyph by glyph or laid out, its width, clipped and far away.

#include "platform/RasterSurface.h"

#include "RasterSurfaceChecks.h"
#include <QPainter>

#include <QTest>

using namespace RasterSurfaceChecks;

namespace {

constexpr std::int32_t Ink = 0x00336699; // drawn as 0xFF996633

// A blank image like the surface's, painted in Ink with the surface's font; the line's top-left
// corner at the pixel topLeft.
template <typename Paint>
QImage reference(const RasterSurface &s, QPoint topLeft, Paint &&paint)
{
    QImage image(s.size(), QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dots per inch
    image.setDotsPerMeterY(3780);
    image.fill(0xFFFFFFFFu);
    QPainter painter(&image);
    painter.setFont(s.font());
    painter.setPen(QColor::fromRgb(0xFF996633u));
    const QFontMetrics metrics(s.font(), &image);
    paint(painter, metrics, QPoint(topLeft.x(), topLeft.y() + metrics.ascent()));
    return image;
}

// The reference for characters that stand alone: each drawn by itself, the pen moved on by
// its own advance.
QImage glyphByGlyph(const RasterSurface &s, QPoint topLeft, const QString &text)
{
    return reference(s, topLeft, [&](QPainter &painter, const QFontMetrics &metrics, QPoint baseline) {
        for (const QChar ch : text) {
            painter.drawText(baseline, QString(ch));
            baseline.rx() += metrics.horizontalAdvance(QString(ch));
        }
    });
}

// The reference for any other text: Qt's layout of the whole line.
QImage laidOut(const RasterSurface &s, QPoint topLeft, const QString &text)
{
    return reference(s, topLeft, [&](QPainter &painter, const QFontMetrics &, QPoint baseline) {
        painter.drawText(baseline, text);
    });
}

void printAt(RasterSurface &s, QPoint pixel, const QString &text)
{
    s.setForeColor(Ink);
    s.setCurrentX(pixel.x() * Tw);
    s.setCurrentY(pixel.y() * Tw);
    s.Print(text);
}

const QString Emoji = QString::fromUtf16(u"A\U0001F600B");

} // namespace

class TestRasterSurfaceText : public QObject
{
    Q_OBJECT

private slots:
    void printAndTextWidth()
    {
        RasterSurface s(QSize(200, 60));
        s.setDrawMode(10); // text ignores it
        s.takeDirtyRect();
        printAt(s, QPoint(10, 5), QStringLiteral("Skizzar gjpq"));
        const float width = s.TextWidth(QStringLiteral("Skizzar gjpq"));
        QVERIFY(width > 0);
        QCOMPARE(std::fmod(width, Tw), 0.0f);
        QCOMPARE(s.TextWidth(QString()), 0.0f);
        QCOMPARE(s.getCurrentX(), 10 * Tw);
        const int lineHeight = int((s.getCurrentY() - 5 * Tw) / Tw);
        QVERIFY(lineHeight > 5);

        const Points text = pixelsNot(s, White);
        QVERIFY(text.size() > 20);
        const QRect box(10, 5, int(width / Tw) + 1, lineHeight);
        const QRect dirty = s.takeDirtyRect();
        for (const QPoint &p : text) {
            QVERIFY(box.contains(p));
            QVERIFY(dirty.contains(p));
            QCOMPARE(s.pixel(p.x(), p.y()), Ink); // no antialiasing
        }
    }

    void printMatchesItsGlyphs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("alone"); // else laid out by Qt as a whole
        QTest::newRow("text and number") << QStringLiteral("Text 123") << 8.25 << true;
        QTest::newRow("descenders") << QStringLiteral("Skizzar gjpq") << 8.25 << true;
        QTest::newRow("kerning pairs") << QStringLiteral("AV To Wa") << 8.25 << true;
        QTest::newRow("umlauts") << QString::fromUtf16(u"äöü ÄÖÜ ß") << 8.25 << true;
        QTest::newRow("euro") << QString::fromUtf16(u"5,00 €") << 8.25 << true;
        QTest::newRow("greek and cyrillic") << QString::fromUtf16(u"Ωλ Жж") << 8.25 << true;
        QTest::newRow("large font") << QStringLiteral("Text 123") << 20.0 << true;
        QTest::newRow("emoji") << Emoji << 8.25 << false;
        QTest::newRow("lone surrogate") << QString::fromUtf16(u"A\xD800") + u'B' << 8.25 << false;
        QTest::newRow("combining acute") << QString::fromUtf16(u"Te\u0301xt") << 8.25 << false;
        QTest::newRow("tab") << QStringLiteral("a\tb") << 8.25 << false;
        QTest::newRow("hebrew")
            << QString::fromUtf16(u"ab \u05E9\u05DC\u05D5\u05DD 12") << 8.25 << false;
        // Laid out in parts that begin with a Latin letter after a blank.
        QTest::newRow("parts: hebrew first") << QString::fromUtf16(u"\u05E9\u05DC\u05D5\u05DD ab, \u05D0\u05D1 12 cd \u05D2 Ef") << 8.25 << false;
        QTest::newRow("parts: arabic and accents") << QString::fromUtf16(u"Te\u0301xt \u0645\u0631\u062D\u0628\u0627 Welt 12 e\u0301 \u0645\u0631 x") << 8.25 << false;
        QTest::newRow("parts: right-to-left after a blank") << QString::fromUtf16(u"ab \u05E9\u05DC\u05D5\u05DD cd \u05D0 (12) \u05D1 ef") << 8.25 << false;
        QTest::newRow("parts: NUL") << QString::fromUtf16(u"a\u0000b Text 123 Text") << 8.25 << false;
        // Gurmukhi, which no installed font has: Qt places its box at 100000 pixels.
        QTest::newRow("parts: no font has it") << QString::fromUtf16(u"ab \u0A39 cd") << 8.25 << false;
        QTest::newRow("whole: tab") << QString::fromUtf16(u"ab \u0301 cd\tef gh") << 8.25 << false;
        QTest::newRow("whole: embedding") << QString::fromUtf16(u"\u202B\u05D0 ab cd") << 8.25 << false;
        // Marks stacked far above and below the line: a run of stored pixels (24), and beyond (64).
        for (const int marks : {24, 64}) {
            QTest::addRow("%d marks above", marks) << u'o' + QString(marks, QChar(0x301)) << 8.25 << false;
            QTest::addRow("%d marks below", marks) << u'o' + QString(marks, QChar(0x323)) << 8.25 << false;
            QTest::addRow("parts: %d marks above and below", marks)
                << QStringLiteral("ab o") + QString(marks / 2, QChar(0x301)) + QString(marks / 2, QChar(0x323)) + QStringLiteral(" cd") << 8.25 << false;
        }
    }
    void printMatchesItsGlyphs()
    {
        QFETCH(QString, text);
        QFETCH(double, points);
        QFETCH(bool, alone);
        RasterSurface s(QSize(240, 400));
        QFont font = s.font();
        font.setPointSizeF(points);
        s.setFont(font);
        QVERIFY(!s.font().kerning());
        s.takeDirtyRect();
        const QPoint at(12, 190);
        printAt(s, at, text);

        QCOMPARE(s.image(), alone ? glyphByGlyph(s, at, text) : laidOut(s, at, text));
        const Points drawn = pixelsNot(s, White);
        QVERIFY(drawn.size() > 10);
        const QRect dirty = s.takeDirtyRect();
        for (const QPoint &p : drawn) {
            QVERIFY(dirty.contains(p));
            QCOMPARE(s.pixel(p.x(), p.y()), Ink);
        }
        const QFontMetrics metrics(s.font(), &s.image());
        int advances = 0;
        for (const QChar ch : text)
            advances += metrics.horizontalAdvance(QString(ch));
        QCOMPARE(s.TextWidth(text), (alone ? advances : metrics.horizontalAdvance(text)) * Tw);
        QCOMPARE(s.getCurrentY(), (at.y() + metrics.height()) * Tw);
    }

    // Lines longer than one of Qt's items, drawn from the items that reach the buffer.
    void longLineMatchesQtsLayout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("penX");
        const QString hebrew = QString::fromUtf16(u"\u05E9\u05DC\u05D5\u05DD ");
        const QString accented = u'a' + QString::fromUtf16(u"e\u0301").repeated(3000);
        const RasterSurface probe(QSize(1, 1));
        const int boundary = int(QFontMetricsF(probe.font(), &probe.image()).horizontalAdvance(accented.left(4096)));
        QTest::newRow("right-to-left line") << u'\u05D0' + QStringLiteral(" Text 1234").repeated(1000) << 12;
        QTest::newRow("hebrew words, from the middle") << hebrew.repeated(2000) << -20000;
        QTest::newRow("accents, where an item ends") << accented << 120 - boundary;
        QTest::newRow("mixed scripts, from the middle") << (hebrew + QString::fromUtf16(u"(ab) 12, \u0645\u0631\u062D\u0628\u0627 e\u0301 [x] ")).repeated(300) << -30000;
        QTest::newRow("tabs") << QStringLiteral("a\tb ").repeated(2000) << -100;
    }
    void longLineMatchesQtsLayout()
    {
        QFETCH(QString, text);
        QFETCH(int, penX);
        RasterSurface s(QSize(240, 60));
        s.takeDirtyRect();
        printAt(s, QPoint(penX, 20), text);
        QCOMPARE(s.image(), laidOut(s, QPoint(penX, 20), text));
        const QRect reach = s.textReach(text, float(penX) * Tw, 20 * Tw), dirty = s.takeDirtyRect();
        const Points drawn = pixelsNot(s, White);
        QVERIFY(drawn.size() > 100);
        for (const QPoint &p : drawn)
            QVERIFY(dirty.contains(p) && reach.contains(p));
    }

    void fallbackShowsWhatTheFastPathCannot()
    {
        RasterSurface withEmoji(QSize(80, 20)), without(QSize(80, 20));
        printAt(withEmoji, QPoint(2, 2), Emoji);
        printAt(without, QPoint(2, 2), QStringLiteral("AB"));
        QVERIFY(pixelsNot(withEmoji, White).size() > pixelsNot(without, White).size());
        QVERIFY(withEmoji.TextWidth(Emoji) > without.TextWidth(QStringLiteral("AB")));
        // The dots of an umlaut lie above the letter without them, inside the line.
        RasterSurface umlaut(QSize(20, 20)), plain(QSize(20, 20));
        printAt(umlaut, QPoint(2, 2), QString::fromUtf16(u"Ä"));
        printAt(plain, QPoint(2, 2), QStringLiteral("A"));
        QVERIFY(pixelsNot(umlaut, White).first().y() < pixelsNot(plain, White).first().y());
        QVERIFY(pixelsNot(umlaut, White).first().y() >= 2);
    }

    // Glyphs that stand alone are placed by whole-pixel advances, so a text printed in two
    // parts, the second where TextWidth says the first ends, is the text printed at once.
    void textWidthIsWhereTheNextTextStarts_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("Text 123") << QStringLiteral("Te") << QStringLiteral("xt 123");
        QTest::newRow("AV") << QStringLiteral("A") << QStringLiteral("V");
        QTest::newRow("To") << QStringLiteral("T") << QStringLiteral("o");
        QTest::newRow("umlauts and euro")
            << QString::fromUtf16(u"Öl ") << QString::fromUtf16(u"€ ß");
        QTest::newRow("empty second") << QStringLiteral("fi") << QString();
    }
    void textWidthIsWhereTheNextTextStarts()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        RasterSurface whole(QSize(160, 20)), parts(QSize(160, 20));
        printAt(whole, QPoint(5, 3), first + second);
        printAt(parts, QPoint(5, 3), first);
        parts.setCurrentX(5 * Tw + parts.TextWidth(first));
        parts.setCurrentY(3 * Tw);
        parts.Print(second);
        QCOMPARE(parts.image(), whole.image());
        QCOMPARE(whole.TextWidth(first + second), whole.TextWidth(first) + whole.TextWidth(second));
    }

    // Only the part inside the buffer is drawn, with the pixels an unclipped text has there.
    void clippedTextMatchesUnclipped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("pixel");
        const QList<std::pair<const char *, QString>> texts = {
            {"alone", QStringLiteral("Skizzar gjpq")},
            {"laid out", Emoji + QStringLiteral(" gjpq")}};
        for (const auto &[kind, text] : texts) {
            QTest::addRow("%s left", kind) << text << QPoint(-13, 20);
            QTest::addRow("%s right", kind) << text << QPoint(75, 20);
            QTest::addRow("%s top", kind) << text << QPoint(10, -5);
            QTest::addRow("%s bottom", kind) << text << QPoint(10, 32);
            QTest::addRow("%s corner", kind) << text << QPoint(-20, -6);
        }
        // A J's tail reaches left of its pen, here into the last column.
        const RasterSurface s(QSize(1, 1));
        const int a = int(s.TextWidth(QStringLiteral("A")) / Tw);
        QTest::newRow("J pen on the right edge") << QStringLiteral("AJ") << QPoint(100 - a, 20);
        QTest::newRow("marks up from a line below") << u'o' + QString(24, QChar(0x301)) << QPoint(10, 45);
        QTest::newRow("marks down from a line above") << u'o' + QString(24, QChar(0x323)) << QPoint(10, -20);
    }
    void clippedTextMatchesUnclipped()
    {
        QFETCH(QString, text);
        QFETCH(QPoint, pixel);
        const int margin = 40;
        RasterSurface small(QSize(100, 40)), large(QSize(100 + 2 * margin, 40 + 2 * margin));
        small.takeDirtyRect();
        printAt(small, pixel, text);
        printAt(large, pixel + QPoint(margin, margin), text);
        QCOMPARE(small.image(), large.image().copy(margin, margin, 100, 40));
        const Points drawn = pixelsNot(small, White);
        QVERIFY(!drawn.isEmpty());
        const QRect dirty = small.takeDirtyRect();
        QVERIFY(QRect(0, 0, 100, 40).contains(dirty));
        for (const QPoint &p : drawn)
            QVERIFY(dirty.contains(p));
    }

    void farTextDrawsNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPointF>("twips");
        const QList<std::pair<const char *, QPointF>> places = {
            {"x 1e30", {1e30, 30}}, {"x -1e30", {-1e30, 30}}, {"y 1e30", {30, 1e30}}, {"y -1e30", {30, -1e30}}, {"x NaN", {Nan, 30}}, {"y NaN", {30, Nan}}, {"x -inf", {-Inf, 30}}, {"y inf", {30, Inf}}, {"x -1e17", {-1e17, 30}}, {"just past the right edge", {50 * Tw, 30}}, {"a line above", {30, -14 * Tw}}};
        for (const auto &[name, twips] : places) {
            QTest::addRow("alone, %s", name) << QStringLiteral("Text 123") << twips;
            QTest::addRow("laid out, %s", name) << Emoji << twips;
        }
    }
    void farTextDrawsNothing()
    {
        QFETCH(QString, text);
        QFETCH(QPointF, twips);
        RasterSurface s(QSize(50, 40));
        s.takeDirtyRect();
        s.setCurrentX(float(twips.x()));
        s.setCurrentY(float(twips.y()));
        s.Print(text);
        QCOMPARE(pixelsNot(s, White), Points());
        // Qt's layout may claim a little more than it draws; the glyphs claim exactly.
        const bool near = std::abs(twips.x()) < 1e3 && std::abs(twips.y()) < 1e3;
        QVERIFY(s.takeDirtyRect().isEmpty() || (near && text == Emoji));
    }

    void veryLongLineIsClipped()
    {
        RasterSurface s(QSize(200, 30)), reference(QSize(200, 30));
        const QString pattern = QStringLiteral("Text 1234 ");
        const float period = s.TextWidth(pattern);
        const QString line = pattern.repeated(10000);
        QCOMPARE(s.TextWidth(line), 10000 * period);
        // The pattern ends with a blank, so nothing of the repeats before the pen reaches in.
        s.setCurrentX(-500 * period);
        s.Print(line);
        reference.Print(pattern.repeated(30));
        QVERIFY(!pixelsNot(s, White).isEmpty());
        QCOMPARE(s.image(), reference.image());

        RasterSurface laidOutLine(QSize(200, 30));
        laidOutLine.Print(Emoji + line);
        QVERIFY(pixelsNot(laidOutLine, White).size() > pixelsNot(s, White).size() / 2);
        QVERIFY(laidOutLine.TextWidth(Emoji + line) > 10000 * period / 2);
    }
};

QTEST_MAIN(TestRasterSurfaceText)
#include "tst_RasterSurface_Text.moc"
