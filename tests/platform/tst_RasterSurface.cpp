// The raster surface: colours, raster operations, twips to pixels, every figure alike, the
// shown and the kept area.

#include "RasterSurfaceChecks.h"
#include "platform/RasterSurface.h"

#include <QTest>

using namespace RasterSurfaceChecks;

namespace {

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

} // namespace

class TestRasterSurface : public QObject
{
    Q_OBJECT

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

    // Each figure touches each of its pixels once, so that drawing it twice in mode 10 restores.
    void figureInMode10_data()
    {
        QTest::addColumn<int>("figure");
        for (int i = 0; i < figures().size(); ++i)
            QTest::newRow(figures()[i].first) << i;
    }
    void figureInMode10()
    {
        QFETCH(int, figure);
        const Draw &draw = figures()[figure].second;
        RasterSurface copied(QSize(200, 150)), xored(QSize(200, 150));
        draw(copied);
        QVERIFY(!pixelsNot(copied, White).isEmpty());
        xored.setDrawMode(10);
        draw(xored);
        QCOMPARE(xored.image(), copied.image());

        RasterSurface s(QSize(200, 150));
        for (int y = 0; y < 150; ++y) // no two neighbours alike
            for (int x = 0; x < 200; ++x)
                s.PSet(x * Tw, y * Tw, (x * 0x0A0B0C + y * 0x030507) & White);
        const QImage before = s.image().copy();
        s.setDrawMode(10);
        draw(s);
        QVERIFY(s.image() != before);
        draw(s);
        QCOMPARE(s.image(), before);
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
