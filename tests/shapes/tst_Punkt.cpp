#include "shapes/Punkt.h"
#include "shapes/SkizzarError.h"
#include "support/RecordingSurface.h"

#include <QTest>
#include <limits>

using Calls = QList<RecordingSurface::Call>;

class TestPunkt : public QObject
{
    Q_OBJECT

private slots:
    void newPointIsZeroed()
    {
        const Punkt p;
        QCOMPARE((QList<float>{p.getX1(), p.getY1()}), (QList<float>{0, 0}));
        QCOMPARE(p.getColor(), 0);
        QVERIFY(!p.getSelected());
    }

    void drawing_data()
    {
        QTest::addColumn<std::int32_t>("color");
        QTest::addColumn<bool>("selected");
        QTest::newRow("red") << std::int32_t(255) << false;
        QTest::newRow("blue, selected") << std::int32_t(0xFF0000) << true;
    }

    // The selection flag changes nothing; only Draw plots the point itself.
    void drawing()
    {
        QFETCH(std::int32_t, color);
        QFETCH(bool, selected);
        Punkt p;
        p.setX1(1000);
        p.setY1(1000);
        p.setColor(color);
        p.setSelected(selected);

        RecordingSurface surface;
        surface.setDrawMode(7);
        p.Draw(surface, 13);
        QCOMPARE(surface.calls.size(), 1);
        const RecordingSurface::Call pixel = surface.calls.first();
        QCOMPARE(pixel.kind, RecordingSurface::Call::PSet);
        QCOMPARE((QList<float>{pixel.x1, pixel.y1}), (QList<float>{1000, 1000}));
        QCOMPARE((QList<int>{pixel.color, pixel.drawMode}), (QList<int>{color, 13}));
        QCOMPARE(surface.getDrawMode(), 7);

        surface.calls.clear();
        p.DrawSelected(surface, 10);
        // clang-format off
        const QList<QPointF> markers{{800, 850}, {800, 950}, {900, 950}, {900, 850},
                                     {1200, 850}, {1200, 950}, {1100, 950}, {1100, 850},
                                     {1200, 1150}, {1200, 1050}, {1100, 1050}, {1100, 1150},
                                     {800, 1150}, {800, 1050}, {900, 1050}, {900, 1150}};
        // clang-format on
        QCOMPARE(surface.calls, RecordingSurface::squares(markers, color, 10));
        QCOMPARE(surface.getDrawMode(), 7);
    }

    void rotateAndDistoreChangeNothing()
    {
        Punkt p;
        p.setX1(12.5f);
        p.setY1(-3);
        p.Rotate(90);
        p.Distore(2, 0.5f);
        p.Distore(std::numeric_limits<float>::infinity(), 0);
        QCOMPARE((QList<float>{p.getX1(), p.getY1()}), (QList<float>{12.5f, -3}));
    }

    void markerOverflowLeavesDrawMode()
    {
        Punkt p;
        p.setX1(std::numeric_limits<float>::infinity());
        RecordingSurface surface;
        QVERIFY_THROWS_EXCEPTION(OverflowError, p.DrawSelected(surface, 10));
        QVERIFY(surface.calls.isEmpty());
        QCOMPARE(surface.getDrawMode(), 10);
    }
};

QTEST_GUILESS_MAIN(TestPunkt)
#include "tst_Punkt.moc"
