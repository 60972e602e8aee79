#include "shapes/Linie.h"
#include "shapes/SkizzarError.h"
#include "support/RecordingSurface.h"

#include <QTest>
#include <limits>

using Calls = QList<RecordingSurface::Call>;
using Corners = QList<QPointF>;

static Linie makeLine(QLineF l)
{
    Linie line;
    line.setX1(l.x1());
    line.setY1(l.y1());
    line.setX2(l.x2());
    line.setY2(l.y2());
    line.setColor(0x00FF00);
    return line;
}

// Lists compare their floats exactly, unlike QCOMPARE on a single float.
static QList<float> fields(const Linie &l) { return {l.getX1(), l.getY1(), l.getX2(), l.getY2()}; }

class TestLinie : public QObject
{
    Q_OBJECT

private slots:
    void newLineDrawsOneZeroSegment()
    {
        Linie line;
        QVERIFY(!line.getSelected());
        RecordingSurface surface;
        surface.setDrawMode(4);
        line.Draw(surface, 10);
        QCOMPARE(surface.calls, Calls{RecordingSurface::line(0, 0, 0, 0, 0, 10)});
        QCOMPARE(surface.getDrawMode(), 4);
    }

    void drawSelected_data()
    {
        QTest::addColumn<QLineF>("line");
        QTest::addColumn<Corners>("markers");
        // clang-format off
        QTest::newRow("left to right") << QLineF(1000, 1000, 3000, 2000) << Corners{
            {800, 950}, {800, 1050}, {900, 1050}, {900, 950}, {800, 1950}, {800, 2050}, {900, 2050}, {900, 1950},
            {3200, 950}, {3200, 1050}, {3100, 1050}, {3100, 950},
            {3200, 1950}, {3200, 2050}, {3100, 2050}, {3100, 1950}};
        // The same four squares, starting at the start point's corner.
        QTest::newRow("right to left") << QLineF(3000, 2000, 1000, 1000) << Corners{
            {3200, 1950}, {3200, 2050}, {3100, 2050}, {3100, 1950},
            {3200, 950}, {3200, 1050}, {3100, 1050}, {3100, 950},
            {800, 1950}, {800, 2050}, {900, 2050}, {900, 1950}, {800, 950}, {800, 1050}, {900, 1050}, {900, 950}};
        QTest::newRow("vertical takes the second case") << QLineF(1000, 1000, 1000, 3000) << Corners{
            {1200, 950}, {1200, 1050}, {1100, 1050}, {1100, 950},
            {1200, 2950}, {1200, 3050}, {1100, 3050}, {1100, 2950},
            {800, 950}, {800, 1050}, {900, 1050}, {900, 950}, {800, 2950}, {800, 3050}, {900, 3050}, {900, 2950}};
        QTest::newRow("horizontal draws each square twice") << QLineF(1000, 1000, 3000, 1000) << Corners{
            {800, 950}, {800, 1050}, {900, 1050}, {900, 950}, {800, 950}, {800, 1050}, {900, 1050}, {900, 950},
            {3200, 950}, {3200, 1050}, {3100, 1050}, {3100, 950},
            {3200, 950}, {3200, 1050}, {3100, 1050}, {3100, 950}};
        // clang-format on
    }

    void drawSelected()
    {
        QFETCH(QLineF, line);
        QFETCH(Corners, markers);
        RecordingSurface surface;
        surface.setDrawMode(7);
        makeLine(line).DrawSelected(surface, 13);
        const auto segment = RecordingSurface::line(line.x1(), line.y1(), line.x2(), line.y2(), 0x00FF00, 13);
        QCOMPARE(surface.calls, Calls{segment} + RecordingSurface::squares(markers, 0x00FF00, 13));
        QCOMPARE(surface.getDrawMode(), 7);
    }

    void distore_data()
    {
        QTest::addColumn<QLineF>("line");
        QTest::addColumn<float>("xFactor");
        QTest::addColumn<float>("yFactor");
        QTest::addColumn<QPointF>("end");
        const QLineF line(1000, 1000, 3000, 2000);
        QTest::newRow("2, 0.5") << line << 2.0f << 0.5f << QPointF(5000, 1500);
        QTest::newRow("identity") << line << 1.0f << 1.0f << QPointF(3000, 2000);
        QTest::newRow("onto the start") << line << 0.0f << 0.0f << QPointF(1000, 1000);
        QTest::newRow("factor, not percent") << QLineF(0, 0, 10, -3) << 100.0f << 100.0f << QPointF(1000, -300);
        // In float arithmetic 16777218 - 1 would round to 16777216 and give 8388609.
        QTest::newRow("double, rounded once") << QLineF(1, 1, 16777218, 1) << 0.5f << 1.0f << QPointF(8388610, 1);
    }

    void distore()
    {
        QFETCH(QLineF, line);
        QFETCH(float, xFactor);
        QFETCH(float, yFactor);
        QFETCH(QPointF, end);
        Linie shape = makeLine(line);
        shape.Distore(xFactor, yFactor);
        shape.Rotate(90);
        QCOMPARE(fields(shape), (QList<float>{float(line.x1()), float(line.y1()), float(end.x()), float(end.y())}));
    }

    void distoreOverflow()
    {
        const float huge = std::numeric_limits<float>::max();
        Linie shape = makeLine(QLineF(0, 0, 10, 10));
        QVERIFY_THROWS_EXCEPTION(OverflowError, shape.Distore(2, huge));
        QCOMPARE(shape.getX2(), 20.0f); // made before the failing one

        shape = makeLine(QLineF(0, 0, 10, 10));
        QVERIFY_THROWS_EXCEPTION(OverflowError, shape.Distore(huge, 2));
        QCOMPARE(shape.getY2(), 10.0f); // never made

        // Zero extent times an infinite factor is not a number.
        shape = makeLine(QLineF(5, 5, 5, 9));
        QVERIFY_THROWS_EXCEPTION(OverflowError, shape.Distore(std::numeric_limits<float>::infinity(), 1));
    }

    void markerOverflow_data()
    {
        QTest::addColumn<QLineF>("line");
        QTest::addColumn<int>("drawnLines");
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("end x: fails at the third square") << QLineF(0, 0, inf, 0) << 1 + 8;
        QTest::newRow("end y: fails at the second square") << QLineF(0, 0, 10, inf) << 1 + 4;
    }

    void markerOverflow()
    {
        QFETCH(QLineF, line);
        QFETCH(int, drawnLines);
        RecordingSurface surface;
        QVERIFY_THROWS_EXCEPTION(OverflowError, makeLine(line).DrawSelected(surface, 10));
        QCOMPARE(surface.lines().size(), drawnLines);
        QCOMPARE(surface.getDrawMode(), 10);
    }
};

QTEST_GUILESS_MAIN(TestLinie)
#include "tst_Linie.moc"
