#include "shapes/Rechteck.h"
#include "shapes/SkizzarError.h"
#include "support/RecordingSurface.h"

#include <QTest>
#include <limits>

using Calls = QList<RecordingSurface::Call>;
using Corners = QList<QPointF>;

// Corners 1 to 4 of the rectangle the window places from two clicked points.
static Corners corners(QPointF first, QPointF second)
{
    return {first, {second.x(), first.y()}, second, {first.x(), second.y()}};
}

static Rechteck fromCorners(const Corners &c)
{
    Rechteck r;
    r.setX1(c[0].x());
    r.setY1(c[0].y());
    r.setX2(c[1].x());
    r.setY2(c[1].y());
    r.setX3(c[2].x());
    r.setY3(c[2].y());
    r.setX4(c[3].x());
    r.setY4(c[3].y());
    r.setColor(0x0000FF);
    return r;
}

// No two corners share an x or a y.
static const Corners kTilted{{100, 100}, {400, 160}, {340, 400}, {40, 340}};

// As a list of floats, which QCOMPARE compares exactly.
static QList<float> fields(const Rechteck &r)
{
    return {r.getX1(), r.getY1(), r.getX2(), r.getY2(), r.getX3(), r.getY3(), r.getX4(), r.getY4()};
}

static const Corners kOutline{{100, 100}, {400, 100}, {400, 300}, {100, 300}};

class TestRechteck : public QObject
{
    Q_OBJECT

private slots:
    void newRectangleDrawsFourZeroSegments()
    {
        Rechteck r;
        QCOMPARE(fields(r), QList<float>(8, 0.0f));
        QCOMPARE(r.getColor(), 0);
        QVERIFY(!r.getSelected());
        RecordingSurface surface;
        r.Draw(surface, 13);
        QCOMPARE(surface.calls, Calls(4, RecordingSurface::line(0, 0, 0, 0, 0, 13)));
    }

    void drawSelected_data()
    {
        QTest::addColumn<Corners>("corners");
        QTest::addColumn<Corners>("markers");
        // clang-format off
        QTest::newRow("left to right: 1, 4 left") << corners({100, 100}, {400, 300}) << Corners{
            {-100, 50}, {-100, 150}, {0, 150}, {0, 50}, {600, 50}, {600, 150}, {500, 150}, {500, 50},
            {600, 250}, {600, 350}, {500, 350}, {500, 250}, {-100, 250}, {-100, 350}, {0, 350}, {0, 250}};
        QTest::newRow("right to left: 1, 4 right") << corners({400, 300}, {100, 100}) << Corners{
            {600, 250}, {600, 350}, {500, 350}, {500, 250}, {-100, 250}, {-100, 350}, {0, 350}, {0, 250},
            {-100, 50}, {-100, 150}, {0, 150}, {0, 50}, {600, 50}, {600, 150}, {500, 150}, {500, 50}};
        QTest::newRow("zero width: 1, 4 right") << corners({100, 100}, {100, 300}) << Corners{
            {300, 50}, {300, 150}, {200, 150}, {200, 50}, {-100, 50}, {-100, 150}, {0, 150}, {0, 50},
            {-100, 250}, {-100, 350}, {0, 350}, {0, 250}, {300, 250}, {300, 350}, {200, 350}, {200, 250}};
        QTest::newRow("tilted: every corner its own") << kTilted << Corners{
            {-100, 50}, {-100, 150}, {0, 150}, {0, 50}, {600, 110}, {600, 210}, {500, 210}, {500, 110},
            {540, 350}, {540, 450}, {440, 450}, {440, 350}, {-160, 290}, {-160, 390}, {-60, 390}, {-60, 290}};
        // clang-format on
    }

    void drawSelected()
    {
        QFETCH(Corners, corners);
        QFETCH(Corners, markers);
        RecordingSurface outline;
        outline.setDrawMode(7);
        fromCorners(corners).Draw(outline, 10);
        QCOMPARE(outline.calls, RecordingSurface::squares(corners, 0x0000FF, 10));
        QCOMPARE(outline.getDrawMode(), 7);
        RecordingSurface surface;
        surface.setDrawMode(7);
        fromCorners(corners).DrawSelected(surface, 13);
        QCOMPARE(surface.calls, RecordingSurface::squares(corners + markers, 0x0000FF, 13));
        QCOMPARE(surface.getDrawMode(), 7);
    }

    void distore_data()
    {
        QTest::addColumn<Corners>("corners");
        QTest::addColumn<float>("xFactor");
        QTest::addColumn<float>("yFactor");
        QTest::addColumn<QList<float>>("result");
        QTest::newRow("2, 0.5") << kOutline << 2.0f << 0.5f << QList<float>{100, 100, 700, 100, 700, 200, 100, 200};
        QTest::newRow("identity") << kOutline << 1.0f << 1.0f << QList<float>{100, 100, 400, 100, 400, 300, 100, 300};
        QTest::newRow("tilted 2, 0.5") << kTilted << 2.0f << 0.5f << QList<float>{100, 100, 700, 160, 640, 280, 40, 220};
    }

    void distore()
    {
        QFETCH(Corners, corners);
        QFETCH(float, xFactor);
        QFETCH(float, yFactor);
        QFETCH(QList<float>, result);
        Rechteck r = fromCorners(corners);
        r.Distore(xFactor, yFactor);
        r.Rotate(-360);
        QCOMPARE(fields(r), result);
    }

    void overflowKeepsWhatWasDone()
    {
        Rechteck r = fromCorners(kOutline);
        QVERIFY_THROWS_EXCEPTION(OverflowError, r.Distore(2, std::numeric_limits<float>::max()));
        QCOMPARE((QList<float>{r.getX2(), r.getX3(), r.getY4()}), (QList<float>{700, 700, 300}));

        r = fromCorners(kOutline);
        r.setX3(std::numeric_limits<float>::infinity());
        RecordingSurface surface;
        QVERIFY_THROWS_EXCEPTION(OverflowError, r.DrawSelected(surface, 10));
        QCOMPARE(surface.lines().size(), 4 + 8); // outline and the markers of corners 1 and 2
        QCOMPARE(surface.getDrawMode(), 10);
    }
};

QTEST_GUILESS_MAIN(TestRechteck)
#include "tst_Rechteck.moc"
