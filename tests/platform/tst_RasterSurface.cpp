#include "platform/RasterSurface.h"

#include <QPainter>
#include <QTest>
#include <functional>
#include <limits>

namespace {

constexpr float Tw = RasterSurface::TwipsPerPixel;
constexpr std::int32_t White = 0x00FFFFFF;
constexpr float Nan = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();
using Points = QList<QPoint>;
using Draw = std::function<void(RasterSurface &)>;

// Pixels that differ from the colour, row by row.
Points pixelsNot(const RasterSurface &s, std::int32_t colour)
{
    Points result;
    for (int y = 0; y < s.size().height(); ++y)
        for (int x = 0; x < s.size().width(); ++x)
            if (s.pixel(x, y) != colour)
                result << QPoint(x, y);
    return result;
}

Draw circle(float x, float y, float r)
{
    return [=](RasterSurface &s) { s.setForeColor(0x00ABCDEF); s.Circle(x, y, r); };
}

// Each draws on a 200 × 150 pixel surface and sets none of its own pixels twice.
const QList<std::pair<const char *, Draw>> &figures()
{
    static const QList<std::pair<const char *, Draw>> list = {
        {"line", [](RasterSurface &s) { s.Line(10 * Tw, 20 * Tw, 180 * Tw, 97 * Tw, 0x123456); }},
        {"rectangle", [](RasterSurface &s) {
             const float l = 30 * Tw, t = 30 * Tw, r = 120 * Tw, b = 90 * Tw;
             s.Line(l, t, r, t, 0xFF);
             s.Line(r, t, r, b, 0xFF);
             s.Line(r, b, l, b, 0xFF);
             s.Line(l, b, l, t, 0xFF);
         }},
        {"circle r0", circle(50 * Tw, 40 * Tw, 0)},
        {"circle r1", circle(50 * Tw, 40 * Tw, 1 * Tw)},
        {"circle r2", circle(50 * Tw, 40 * Tw, 2 * Tw)},
        {"circle r7", circle(50 * Tw, 40 * Tw, 7 * Tw)},
        {"circle r-7", circle(50 * Tw, 40 * Tw, -7 * Tw)},
        {"circle r100 clipped", circle(100 * Tw, 75 * Tw, 100 * Tw)},
        {"circle r125 through the corners", circle(100 * Tw, 75 * Tw, 125 * Tw)},
        {"circle r5000 through buffer", circle(-4950 * Tw, 75 * Tw, 5000 * Tw)},
        // the outline of radius 4200 has a pixel on the diagonal, at 2970 from the centre
        {"circle r4200 with its diagonal in buffer", circle(-2870 * Tw, -2895 * Tw, 4200 * Tw)},
        {"circle r1e30 touching buffer", circle(-1e30f, 75 * Tw, 1e30f)},
        {"line from -1e30 to 1e30", [](RasterSurface &s) { s.Line(-1e30f, -1e30f, 1e30f, 1e30f, 0); }},
        {"line to 1e30", [](RasterSurface &s) { s.Line(150, 150, 1e30f, 3e29f, 0x00808080); }},
    };
    return list;
}

constexpr std::int32_t Ink = 0x00336699; // drawn as 0xFF996633

QImage blankLike(const RasterSurface &s)
{
    QImage image(s.size(), QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dots per inch
    image.setDotsPerMeterY(3780);
    image.fill(0xFFFFFFFFu);
    return image;
}

// The reference for characters that stand alone: each drawn by itself, the pen moved on by
// its own advance, the line's top-left corner at the pixel topLeft.
QImage glyphByGlyph(const RasterSurface &s, QPoint topLeft, const QString &text)
{
    QImage image = blankLike(s);
    QPainter painter(&image);
    painter.setFont(s.font());
    painter.setPen(QColor::fromRgb(0xFF996633u));
    const QFontMetrics metrics(s.font(), &image);
    int pen = topLeft.x();
    for (const QChar ch : text) {
        painter.drawText(QPoint(pen, topLeft.y() + metrics.ascent()), QString(ch));
        pen += metrics.horizontalAdvance(QString(ch));
    }
    return image;
}

// The reference for any other text: Qt's layout of the whole line.
QImage laidOut(const RasterSurface &s, QPoint topLeft, const QString &text)
{
    QImage image = blankLike(s);
    QPainter painter(&image);
    painter.setFont(s.font());
    painter.setPen(QColor::fromRgb(0xFF996633u));
    painter.drawText(QPoint(topLeft.x(), topLeft.y() + QFontMetrics(s.font(), &image).ascent()),
                     text);
    return image;
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

class TestRasterSurface : public QObject
{
    Q_OBJECT

    void figures_data()
    {
        QTest::addColumn<int>("figure");
        for (int i = 0; i < figures().size(); ++i)
            QTest::newRow(figures()[i].first) << i;
    }

private slots:
    void startStateAndColours()
    {
        RasterSurface s(QSize(4, 3));
        QCOMPARE(s.getDrawMode(), 13);
        QCOMPARE(s.getForeColor(), 0);
        QCOMPARE(s.getBackColor(), White);
        QCOMPARE(pixelsNot(s, White), Points());
        QCOMPARE(s.font().family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(s.font().pointSizeF(), 8.25);
        QCOMPARE(s.pixel(4, 0), -1);
        s.PSet(0, 0, 0x00336699);
        QCOMPARE(s.image().pixel(0, 0), 0xFF996633u);
        QCOMPARE(s.pixel(0, 0), 0x00336699);
        s.PSet(Tw, 0, 0x7F0000FF); // the top byte is no colour
        QCOMPARE(s.image().pixel(1, 0), 0xFFFF0000u);
        // The repaint erases with BackColor + 1; white + 1 is 0x01000000, drawn black.
        s.takeDirtyRect();
        s.setBackColor(White + 1);
        QCOMPARE(s.getBackColor(), White + 1);
        QCOMPARE(pixelsNot(s, 0), Points());
        QCOMPARE(s.image().pixel(3, 2), 0xFF000000u);
        QCOMPARE(s.takeDirtyRect(), QRect(0, 0, 4, 3));
    }

    void rasterOps_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<std::int32_t>("expected");
        // Pen 0x0030C00C on 0x0050A00A: every byte holds all four pen/destination bit pairs.
        const std::int32_t expected[] = {0x00000000, 0x008F1FF1, 0x00402002, 0x00CF3FF3,
                                         0x00204004, 0x00AF5FF5, 0x00606006, 0x00EF7FF7,
                                         0x00108008, 0x009F9FF9, 0x0050A00A, 0x00DFBFFB,
                                         0x0030C00C, 0x00BFDFFD, 0x0070E00E, 0x00FFFFFF};
        for (int mode = 1; mode <= 16; ++mode)
            QTest::addRow("mode %d", mode) << mode << expected[mode - 1];
        QTest::newRow("undefined 0 copies the pen") << 0 << 0x0030C00C;
        QTest::newRow("undefined 17 copies the pen") << 17 << 0x0030C00C;
    }
    void rasterOps()
    {
        QFETCH(int, mode);
        QFETCH(std::int32_t, expected);
        RasterSurface s(QSize(3, 3));
        s.setBackColor(0x0050A00A);
        s.setDrawMode(std::int16_t(mode));
        s.PSet(Tw, Tw, 0x0030C00C);
        QCOMPARE(s.getDrawMode(), mode);
        QCOMPARE(s.pixel(1, 1), expected);
        QCOMPARE(qAlpha(s.image().pixel(1, 1)), 0xFF);
        QCOMPARE(pixelsNot(s, 0x0050A00A).size(), expected == 0x0050A00A ? 0 : 1);
    }

    void psetMapsTwips_data()
    {
        QTest::addColumn<QPointF>("twips");
        QTest::addColumn<Points>("expected");
        QTest::newRow("origin") << QPointF(0, 0) << Points{{0, 0}};
        QTest::newRow("just below half") << QPointF(7.4, 22.4) << Points{{0, 1}};
        QTest::newRow("half rounds up") << QPointF(7.5, 22.5) << Points{{1, 2}};
        QTest::newRow("minus half rounds up") << QPointF(-7.5, 7.4) << Points{{0, 0}};
        QTest::newRow("left of the buffer") << QPointF(-7.6, 0) << Points();
        QTest::newRow("right of the buffer") << QPointF(9 * Tw + 7.5, 4 * Tw) << Points();
        QTest::newRow("NaN") << QPointF(Nan, 0) << Points();
        QTest::newRow("1e30") << QPointF(1e30f, 1e30f) << Points();
    }
    void psetMapsTwips()
    {
        QFETCH(QPointF, twips);
        QFETCH(Points, expected);
        RasterSurface s(QSize(10, 5));
        s.PSet(twips.x(), twips.y(), 0);
        QCOMPARE(pixelsNot(s, White), expected);
    }

    // Each figure placed at t twips draws as placed at the pixel t / 15 rounded half up, not at
    // the neighbour that truncating or rounding half down would give.
    void twipsRoundAtTheHalf_data()
    {
        QTest::addColumn<int>("figure");
        QTest::addColumn<float>("twips");
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("wrongPixel");
        const QList<std::tuple<float, int, int>> cases = {
            {7.4f, 0, 1}, {7.5f, 1, 0}, {-7.5f, 0, -1}, {-7.6f, -1, 0}};
        const char *const names[] = {"PSet", "line start", "circle r0", "Print", "radius"};
        for (int figure = 0; figure < 5; ++figure)
            for (const auto &[twips, pixel, wrong] : cases)
                QTest::addRow("%s at %g", names[figure], twips) << figure << twips << pixel << wrong;
    }
    void twipsRoundAtTheHalf()
    {
        QFETCH(int, figure);
        QFETCH(float, twips);
        QFETCH(int, pixel);
        QFETCH(int, wrongPixel);
        const auto draw = [figure](float t) {
            RasterSurface s(QSize(12, 12));
            switch (figure) {
            case 0: s.PSet(t, t, 0); break;
            case 1: s.Line(t, t, 11 * Tw, 4 * Tw, 0); break;
            case 2: s.Circle(t, t, 0); break;
            case 3:
                s.setCurrentX(t);
                s.setCurrentY(t);
                s.Print(QStringLiteral("Ab"));
                break;
            default: s.Circle(6 * Tw, 6 * Tw, Tw + t); break; // radii 22.4, 22.5, 7.5, 7.4
            }
            return s.image();
        };
        const QImage drawn = draw(twips);
        QCOMPARE(drawn, draw(pixel * Tw));
        QVERIFY(drawn != draw(wrongPixel * Tw));
    }

    void linePixels_data()
    {
        QTest::addColumn<QLineF>("pixels");
        QTest::addColumn<Points>("expected");
        QTest::newRow("horizontal") << QLineF(2, 3, 6, 3) << Points{{2, 3}, {3, 3}, {4, 3}, {5, 3}};
        QTest::newRow("vertical") << QLineF(4, 1, 4, 4) << Points{{4, 1}, {4, 2}, {4, 3}};
        QTest::newRow("diagonal") << QLineF(1, 1, 5, 5) << Points{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
        QTest::newRow("diagonal upwards") << QLineF(5, 5, 1, 1) << Points{{2, 2}, {3, 3}, {4, 4}, {5, 5}};
        QTest::newRow("shallow") << QLineF(0, 0, 5, 2) << Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}};
        QTest::newRow("steep") << QLineF(0, 0, 2, 5) << Points{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}};
        QTest::newRow("zero length") << QLineF(3, 3, 3, 3) << Points();
        QTest::newRow("half outside") << QLineF(-3, 2, 3, 2) << Points{{0, 2}, {1, 2}, {2, 2}};
    }
    void linePixels()
    {
        QFETCH(QLineF, pixels);
        QFETCH(Points, expected);
        RasterSurface s(QSize(8, 7));
        s.Line(pixels.x1() * Tw, pixels.y1() * Tw, pixels.x2() * Tw, pixels.y2() * Tw, 0);
        QCOMPARE(pixelsNot(s, White), expected);
    }

    // On white, NOT (pen XOR dst) sets the pen colour once and brings white back a second
    // time, so it matches the copy pen only when no pixel is touched twice.
    void figureTouchesEachPixelOnce_data() { figures_data(); }
    void figureTouchesEachPixelOnce()
    {
        QFETCH(int, figure);
        RasterSurface copied(QSize(200, 150)), xored(QSize(200, 150));
        figures()[figure].second(copied);
        QVERIFY(!pixelsNot(copied, White).isEmpty());
        xored.setDrawMode(10);
        figures()[figure].second(xored);
        QCOMPARE(xored.image(), copied.image());
    }
    void figureTwiceInMode10Restores_data() { figures_data(); }
    void figureTwiceInMode10Restores()
    {
        QFETCH(int, figure);
        RasterSurface s(QSize(200, 150));
        for (int y = 0; y < 150; ++y) // no two neighbours alike
            for (int x = 0; x < 200; ++x)
                s.PSet(x * Tw, y * Tw, (x * 0x0A0B0C + y * 0x030507) & White);
        const QImage before = s.image().copy();
        s.setDrawMode(10);
        figures()[figure].second(s);
        QVERIFY(s.image() != before);
        figures()[figure].second(s);
        QCOMPARE(s.image(), before);
    }

    void circleOutline_data()
    {
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("centreX");
        QTest::addColumn<int>("count"); // -1: not counted by hand
        QTest::newRow("r1") << 1 << 110 << 4;
        QTest::newRow("r2") << 2 << 110 << 12;
        QTest::newRow("r7") << 7 << 110 << -1;
        QTest::newRow("r100") << 100 << 110 << -1;
        QTest::newRow("r5000 ending just right of the buffer") << 5000 << 220 - 5000 << -1;
    }
    void circleOutline()
    {
        QFETCH(int, radius);
        QFETCH(int, centreX);
        QFETCH(int, count);
        RasterSurface s(QSize(220, 220));
        const int c = 110;
        s.Circle(centreX * Tw, c * Tw, radius * Tw);
        const Points outline = pixelsNot(s, White);
        QVERIFY(count < 0 || outline.size() == count);
        QVERIFY(!outline.isEmpty());
        for (const QPoint &p : outline) {
            const int u = p.x() - centreX, v = p.y() - c;
            QVERIFY(std::abs(std::hypot(u, v) - radius) < 1.0);
            if (centreX != c)
                continue;
            for (const QPoint &m : {QPoint(-u, v), QPoint(u, -v), QPoint(v, u)})
                QCOMPARE(s.pixel(c + m.x(), c + m.y()), 0);
            int neighbours = 0; // a closed outline: at least two of the eight neighbours
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    neighbours += (dx || dy) && s.pixel(p.x() + dx, p.y() + dy) == 0;
            QVERIFY(neighbours >= 2);
        }
    }

    // Clipped by the buffer, a circle sets the pixels it sets when the buffer holds it whole.
    void clippedCircleMatchesWholeCircle()
    {
        const int size = 2 * 4200 + 80;
        RasterSurface whole(QSize(size, size));
        for (const int r : {1, 2, 7, 100, 707, 1000, 4200}) {
            whole.setBackColor(White);
            circle(size / 2 * Tw, size / 2 * Tw, r * Tw)(whole);
            for (const QPoint corner : {QPoint(r - 20, -30), QPoint(-r - 5, -3), QPoint(707 * r / 1000 - 17, 707 * r / 1000 - 23)}) {
                RasterSurface part(QSize(40, 30));
                circle(float(corner.x()) * -Tw, float(corner.y()) * -Tw, r * Tw)(part);
                QCOMPARE(part.image(), whole.image().copy(size / 2 + corner.x(), size / 2 + corner.y(), 40, 30));
            }
        }
    }

    // Radius 5k and centre (-3k, 4k) with k = 2^58: the outline passes the pixel (0, 0) with
    // slope 3/4; at such a size its curvature moves no pixel, so column x holds the pixel
    // floor((3x - 2) / 4) + 1, exactly.
    void hugeArcIsExact()
    {
        const float k = std::ldexp(1.0f, 58);
        RasterSurface s(QSize(40, 30));
        s.Circle(-3 * k * Tw, 4 * k * Tw, 5 * k * Tw);
        Points expected;
        for (int x = 0; x < 40; ++x)
            expected << QPoint(x, int(std::floor((3.0 * x - 2.0) / 4.0)) + 1);
        std::sort(expected.begin(), expected.end(), [](QPoint a, QPoint b) {
            return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x());
        });
        QCOMPARE(pixelsNot(s, White), expected);
    }

    void farAndInvalidCoordinatesDrawNothing()
    {
        const QList<Draw> calls = {
            [](RasterSurface &s) { s.Line(0, 0, Nan, 300, 0); },
            [](RasterSurface &s) { s.Line(0, 0, Inf, 0, 0); },
            [](RasterSurface &s) { s.Line(1e30f, -1e30f, 1e30f, 1e30f, 0); },
            [](RasterSurface &s) { s.Circle(300, 300, Nan); },
            [](RasterSurface &s) { s.Circle(1e30f, 1e30f, 150); },
            [](RasterSurface &s) { s.Circle(300, 300, 1e30f); }, // round the whole buffer
            [](RasterSurface &s) { s.Circle(300, 300, -Inf); },
        };
        for (const Draw &call : calls) {
            RasterSurface s(QSize(50, 40));
            s.setDrawMode(6);
            call(s);
            QCOMPARE(pixelsNot(s, White), Points());
        }
    }

    // Every pixel the line sets lies within a pixel of the ideal line through its two ends.
    void farLineStaysOnItsLine_data()
    {
        QTest::addColumn<QLineF>("twips");
        QTest::addColumn<double>("intercept"); // of the ideal line at x = 0
        // exact floats on the line y = x / 3 through the origin
        const double a = std::ldexp(11.0, 95), b = std::ldexp(7.0, 94);
        QTest::newRow("both ends beyond 1e29") << QLineF(-3 * a, -a, 3 * b, b) << 0.0;
        QTest::newRow("one end at 1e30") << QLineF(150, 150, 1e30f, 3e29f) << 150 - 150 * 0.3;
        QTest::newRow("row from -1e30 to 1e30") << QLineF(-1e30f, 600, 1e30f, 600) << 600.0;
    }
    void farLineStaysOnItsLine()
    {
        QFETCH(QLineF, twips);
        QFETCH(double, intercept);
        RasterSurface s(QSize(100, 80));
        s.Line(twips.x1(), twips.y1(), twips.x2(), twips.y2(), 0);
        const Points drawn = pixelsNot(s, White);
        QCOMPARE(drawn.size(), 100 - int(twips.x1() > 0 ? twips.x1() / Tw : 0));
        const double slope = twips.dy() / twips.dx();
        for (const QPoint &p : drawn)
            QVERIFY(std::abs(p.y() * Tw - (intercept + p.x() * Tw * slope)) <= Tw);
    }

    void longLineIndependentOfBufferSize()
    {
        RasterSurface small(QSize(60, 40)), large(QSize(600, 400));
        small.Line(-100000 * Tw, -49980 * Tw, 100000 * Tw, 50020 * Tw, 0);
        large.Line(-100000 * Tw, -49980 * Tw, 100000 * Tw, 50020 * Tw, 0);
        QVERIFY(!pixelsNot(small, White).isEmpty());
        QCOMPARE(large.image().copy(0, 0, 60, 40), small.image());
    }

    void printAndTextWidth()
    {
        RasterSurface s(QSize(200, 60));
        s.setForeColor(0x000000FF);
        s.setDrawMode(10); // text ignores it
        s.setCurrentX(10 * Tw);
        s.setCurrentY(5 * Tw);
        s.takeDirtyRect();
        s.Print(QStringLiteral("Skizzar gjpq"));
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
            QCOMPARE(s.pixel(p.x(), p.y()), 0x000000FF); // no antialiasing
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
        QTest::newRow("lone surrogate") << QString::fromUtf16(u"A\xD800" u"B") << 8.25 << false;
        QTest::newRow("combining acute") << QString::fromUtf16(u"Te\u0301xt") << 8.25 << false;
        QTest::newRow("tab") << QStringLiteral("a\tb") << 8.25 << false;
        QTest::newRow("hebrew")
            << QString::fromUtf16(u"ab \u05E9\u05DC\u05D5\u05DD 12") << 8.25 << false;
        // Laid out in parts that begin with a Latin letter after a blank.
        QTest::newRow("parts: hebrew first") << QString::fromUtf16(
            u"\u05E9\u05DC\u05D5\u05DD ab, \u05D0\u05D1 12 cd \u05D2 Ef") << 8.25 << false;
        QTest::newRow("parts: arabic and accents") << QString::fromUtf16(
            u"Te\u0301xt \u0645\u0631\u062D\u0628\u0627 Welt 12 e\u0301 \u0645\u0631 x") << 8.25 << false;
        QTest::newRow("parts: right-to-left after a blank") << QString::fromUtf16(
            u"ab \u05E9\u05DC\u05D5\u05DD cd \u05D0 (12) \u05D1 ef") << 8.25 << false;
        QTest::newRow("parts: NUL") << QString::fromUtf16(u"a\u0000b Text 123 Text") << 8.25 << false;
        // Gurmukhi, which no installed font has: Qt places its box at 100000 pixels.
        QTest::newRow("parts: no font has it") << QString::fromUtf16(u"ab \u0A39 cd") << 8.25 << false;
        QTest::newRow("whole: tab") << QString::fromUtf16(u"ab \u0301 cd\tef gh") << 8.25 << false;
        QTest::newRow("whole: embedding") << QString::fromUtf16(u"\u202B\u05D0 ab cd") << 8.25 << false;
    }
    void printMatchesItsGlyphs()
    {
        QFETCH(QString, text);
        QFETCH(double, points);
        QFETCH(bool, alone);
        RasterSurface s(QSize(240, 60));
        QFont font = s.font();
        font.setPointSizeF(points);
        s.setFont(font);
        QVERIFY(!s.font().kerning());
        s.takeDirtyRect();
        const QPoint at(12, 7);
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
        QCOMPARE(s.getCurrentY(), (7 + metrics.height()) * Tw);
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
            {"x 1e30", {1e30, 30}}, {"x -1e30", {-1e30, 30}}, {"y 1e30", {30, 1e30}},
            {"y -1e30", {30, -1e30}}, {"x NaN", {Nan, 30}}, {"y NaN", {30, Nan}},
            {"x -inf", {-Inf, 30}}, {"y inf", {30, Inf}}, {"x -1e17", {-1e17, 30}},
            {"just past the right edge", {50 * Tw, 30}}, {"a line above", {30, -14 * Tw}}};
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

    void dirtyRectCoversDrawing()
    {
        RasterSurface s(QSize(100, 80));
        QCOMPARE(s.takeDirtyRect(), QRect(0, 0, 100, 80));
        s.Line(90 * Tw, 10 * Tw, 20 * Tw, 70 * Tw, 0);
        const QRect line = s.takeDirtyRect();
        const Points drawn = pixelsNot(s, White);
        QCOMPARE(drawn.size(), 70);
        for (const QPoint &p : drawn)
            QVERIFY(line.contains(p));
        QVERIFY(line.width() <= 71 && line.height() <= 61);
        QVERIFY(s.takeDirtyRect().isEmpty());
        s.Circle(50 * Tw, 79 * Tw, 30 * Tw);
        QCOMPARE(s.takeDirtyRect(), QRect(QPoint(20, 49), QPoint(80, 79)));
        s.Line(-1e30f, -1e30f, -1e30f, 1e30f, 0);
        QVERIFY(s.takeDirtyRect().isEmpty());
    }

    void resizeKeepsDrawing()
    {
        RasterSurface s(QSize(40, 30));
        s.setBackColor(0x0000FF00);
        s.PSet(5 * Tw, 5 * Tw, 0xFF);
        s.resize(QSize(60, 20));
        QCOMPARE(s.size(), QSize(60, 20));
        QCOMPARE(pixelsNot(s, 0x0000FF00), Points({{5, 5}}));
        QCOMPARE(s.takeDirtyRect(), QRect(0, 0, 60, 20));
        s.resize(QSize(0, 0));
        s.Line(0, 0, 100, 100, 0);
        s.Circle(0, 0, 100);
        s.Print(QStringLiteral("x"));
        QCOMPARE(s.size(), QSize(0, 0));
    }
};

QTEST_MAIN(TestRasterSurface)
#include "tst_RasterSurface.moc"
