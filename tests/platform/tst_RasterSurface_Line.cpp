// The raster surface's lines: their pixels, exact however far their ends lie.

#include "RasterSurfaceChecks.h"
#include "platform/RasterSurface.h"

#include <QTest>

using namespace RasterSurfaceChecks;

class TestRasterSurfaceLine : public QObject
{
    Q_OBJECT

private slots:
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
};

QTEST_MAIN(TestRasterSurfaceLine)
#include "tst_RasterSurface_Line.moc"
