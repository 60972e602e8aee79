#include "shapes/Kreis.h"
#include "shapes/Linie.h"
#include "shapes/SkizzarError.h"
#include "support/RecordingSurface.h"

#include <QTest>
#include <limits>

using Call = RecordingSurface::Call;
using Calls = QList<Call>;
using Corners = QList<QPointF>;

static Kreis makeCircle(float x, float y, float radius)
{
    Kreis k;
    k.setX1(x);
    k.setY1(y);
    k.setRadius(radius);
    k.setColor(255);
    return k;
}

static Call call(Call::Kind kind, std::int32_t color, std::int16_t mode, QList<float> xyr = {0, 0, 0})
{
    return {.kind = kind, .x1 = xyr[0], .y1 = xyr[1], .x2 = xyr[2], .color = color, .drawMode = mode, .text = {}};
}

class TestKreis : public QObject
{
    Q_OBJECT

private slots:
    void newCircleIsZeroed()
    {
        const Kreis k;
        QCOMPARE((QList<float>{k.getX1(), k.getY1(), k.getRadius()}), (QList<float>{0, 0, 0}));
        QCOMPARE(k.getColor(), 0);
        QVERIFY(!k.getSelected());
    }

    // ForeColor is set inside the frame and stays; DrawMode comes back, also past other shapes.
    void drawProtocol()
    {
        RecordingSurface surface;
        surface.setDrawMode(7);
        surface.recordStateChanges = true;
        makeCircle(2000, 2000, 500).Draw(surface, 10);
        QCOMPARE(surface.calls, (Calls{call(Call::SetDrawMode, 0, 10), call(Call::SetForeColor, 255, 10),
                                       call(Call::Circle, 255, 10, {2000, 2000, 500}),
                                       call(Call::SetDrawMode, 0, 7)}));
        Linie line;
        line.setColor(0xFF0000);
        line.Draw(surface, 13);
        QCOMPARE(surface.getForeColor(), 255);
    }

    void drawSelected_data()
    {
        QTest::addColumn<float>("radius");
        QTest::addColumn<Corners>("markers");
        // clang-format off
        QTest::newRow("radius 500") << 500.0f << Corners{
            {1500, 1500}, {1600, 1500}, {1600, 1600}, {1500, 1600},
            {2400, 1500}, {2500, 1500}, {2500, 1600}, {2400, 1600},
            {1500, 2400}, {1600, 2400}, {1600, 2500}, {1500, 2500},
            {2400, 2400}, {2500, 2400}, {2500, 2500}, {2400, 2500}};
        // The first square then lies right of and below the centre.
        QTest::newRow("radius 0") << 0.0f << Corners{
            {2000, 2000}, {2100, 2000}, {2100, 2100}, {2000, 2100},
            {1900, 2000}, {2000, 2000}, {2000, 2100}, {1900, 2100},
            {2000, 1900}, {2100, 1900}, {2100, 2000}, {2000, 2000},
            {1900, 1900}, {2000, 1900}, {2000, 2000}, {1900, 2000}};
        // clang-format on
    }

    void drawSelected()
    {
        QFETCH(float, radius);
        QFETCH(Corners, markers);
        RecordingSurface surface;
        surface.setDrawMode(7);
        makeCircle(2000, 2000, radius).DrawSelected(surface, 13);
        QCOMPARE(surface.calls,
                 Calls{call(Call::Circle, 255, 13, {2000, 2000, radius})} + RecordingSurface::squares(markers, 255, 13));
        QCOMPARE(surface.getDrawMode(), 7);
        QCOMPARE(surface.getForeColor(), 255);
    }

    // 1 - 16777218 rounds to -16777216 before 100 is added; in one step it would be -16777117.
    void markerCoordinateRoundsBeforeTheConstant()
    {
        RecordingSurface surface;
        makeCircle(1, 0, 16777218).DrawSelected(surface, 13);
        QCOMPARE(surface.lines().first(),
                 RecordingSurface::line(-16777216, -16777218, -16777116, -16777218, 255, 13));
    }

    void distore_data()
    {
        QTest::addColumn<float>("xFactor");
        QTest::addColumn<float>("yFactor");
        QTest::addColumn<float>("radius");
        QTest::newRow("2, 5: only x counts") << 2.0f << 5.0f << 1000.0f;
        QTest::newRow("1, 0") << 1.0f << 0.0f << 500.0f;
    }

    void distore()
    {
        QFETCH(float, xFactor);
        QFETCH(float, yFactor);
        QFETCH(float, radius);
        Kreis k = makeCircle(2000, 3000, 500);
        k.Distore(xFactor, yFactor);
        k.Rotate(360);
        QCOMPARE((QList<float>{k.getRadius(), k.getX1(), k.getY1()}), (QList<float>{radius, 2000, 3000}));
        QVERIFY_THROWS_EXCEPTION(OverflowError, k.Distore(std::numeric_limits<float>::max(), 1));
    }

    void markerOverflow_data()
    {
        const float max = std::numeric_limits<float>::max();
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("radius");
        QTest::addColumn<int>("drawnLines");
        QTest::newRow("infinite radius") << 0.0f << std::numeric_limits<float>::infinity() << 0;
        // x - r is 0 for the first square; x + r overflows at the second.
        QTest::newRow("finite fields, sum overflows") << max << max << 4;
    }

    void markerOverflow()
    {
        QFETCH(float, x);
        QFETCH(float, radius);
        QFETCH(int, drawnLines);
        RecordingSurface surface;
        QVERIFY_THROWS_EXCEPTION(OverflowError, makeCircle(x, 0, radius).DrawSelected(surface, 10));
        QCOMPARE(surface.calls.first().kind, Call::Circle);
        QCOMPARE(surface.lines().size(), drawnLines);
        QCOMPARE(surface.getDrawMode(), 10);
    }
};

QTEST_GUILESS_MAIN(TestKreis)
#include "tst_Kreis.moc"
