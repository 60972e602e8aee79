// The raster surface's circles: the outline, clipped or whole, exact for huge radii.

#include "RasterSurfaceChecks.h"
#include "platform/ExactMaths.h"
#include "platform/RasterSurface.h"

#include <QTest>

using namespace RasterSurfaceChecks;

class TestRasterSurfaceCircle : public QObject
{
    Q_OBJECT

private slots:
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
        const int size = 2 * 4200 + 100;
        RasterSurface whole(QSize(size, size));
        for (const int r : {1, 2, 7, 100, 707, 1000, 4200}) {
            whole.setBackColor(White);
            circle(size / 2 * Tw, size / 2 * Tw, r * Tw)(whole);
            // Across the outline, inside it up to the pixel before, just outside, in the middle.
            for (const QPoint corner : {QPoint(r - 20, -30), QPoint(-r - 5, -3), QPoint(707 * r / 1000 - 17, 707 * r / 1000 - 23),
                                        QPoint(r - 40, -15), QPoint(r + 1, -15), QPoint(-20, -15)}) {
                RasterSurface part(QSize(40, 30));
                circle(float(corner.x()) * -Tw, float(corner.y()) * -Tw, r * Tw)(part);
                QCOMPARE(part.image(), whole.image().copy(size / 2 + corner.x(), size / 2 + corner.y(), 40, 30));
                // The reach holds every pixel set; with the centre beyond the left edge, no more.
                QRect ink;
                for (const QPoint p : pixelsNot(part, White))
                    ink |= QRect(p, QSize(1, 1));
                const QRect reach = part.circleReach(float(corner.x()) * -Tw, float(corner.y()) * -Tw, r * Tw);
                QVERIFY(reach.contains(ink) || ink.isNull());
                if (corner.x() == r - 20 && r >= 100)
                    QCOMPARE(reach, ink);
            }
        }
    }

    // The root of r² - 1, r², r² + 1 and (r + 1)² - 1 for r = 2^exponent + offset, in each of
    // the ways the root is found: the estimate of a double, of a long double, and beyond.
    void squareRootIsExact_data()
    {
        QTest::addColumn<int>("exponent");
        QTest::addColumn<int>("offset");
        const QList<std::pair<int, int>> roots = {{26, 3}, {52, -1}, {52, 0}, {64, -1}, {64, 0}, {64, 1}, {66, 0}, {66, 1}, {80, 0}, {80, -1}, {100, 0}, {100, 7}, {110, 0}, {110, -1}, {124, 5}};
        for (const auto &[exponent, offset] : roots)
            QTest::addRow("2^%d%+d", exponent, offset) << exponent << offset;
    }
    void squareRootIsExact()
    {
        using namespace ExactMaths;
        QFETCH(int, exponent);
        QFETCH(int, offset);
        const UInt128 r = (UInt128(1) << exponent) + offset;
        const Wide square = Wide::product(r, r);
        const Wide one = Wide::of(1);
        QVERIFY(squareRoot(square - one) == r - 1);
        QVERIFY(squareRoot(square) == r);
        QVERIFY(squareRoot(square + one) == r);
        QVERIFY(squareRoot(square + Wide::of(r) + Wide::of(r)) == r); // (r + 1)² - 1
    }

    // Radius 5k and centre (-3k, 4k) with k = 2^exponent: the outline passes the pixel (0, 0)
    // with slope 3/4; at such a size its curvature moves no pixel, so column x holds the pixel
    // floor((3x - 2) / 4) + 1, exactly.
    void hugeArcIsExact_data()
    {
        QTest::addColumn<int>("exponent");
        for (const int exponent : {58, 64, 66, 80, 100, 108})
            QTest::addRow("k = 2^%d", exponent) << exponent;
    }
    void hugeArcIsExact()
    {
        QFETCH(int, exponent);
        const float k = std::ldexp(1.0f, exponent);
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
};

QTEST_MAIN(TestRasterSurfaceCircle)
#include "tst_RasterSurface_Circle.moc"
