#include "shapes/SkizzarError.h"
#include "shapes/Text.h"
#include "support/RecordingSurface.h"

#include <QTest>
#include <limits>

using Call = RecordingSurface::Call;
using Calls = QList<Call>;

static Text makeText(const QString &text)
{
    Text t;
    t.setX1(1000);
    t.setY1(2000);
    t.setText(text);
    t.setColor(255);
    t.setFont(QStringLiteral("Arial"));
    t.setFontSize(12);
    return t;
}

static Call printCall(const QString &text, std::int32_t foreColor, std::int16_t mode)
{
    return {.kind = Call::Print, .x1 = 1000, .y1 = 2000, .color = foreColor, .drawMode = mode, .text = text};
}

class TestText : public QObject
{
    Q_OBJECT

private slots:
    void newTextIsEmpty()
    {
        const Text t;
        QCOMPARE((QList<float>{t.getX1(), t.getY1()}), (QList<float>{0, 0}));
        QCOMPARE((QList<int>{t.getColor(), t.getFontSize()}), (QList<int>{0, 0}));
        QVERIFY(!t.getSelected() && t.getText().isEmpty() && t.getFont().isEmpty());
    }

    // Printed in the surface's ForeColor, not the shape's Color; Font and FontSize play no part.
    void drawPrintsAtThePosition()
    {
        Text t = makeText(QStringLiteral("Hallo"));
        RecordingSurface surface;
        surface.setForeColor(0x00FF00);
        surface.setDrawMode(7);
        t.Draw(surface, 13);
        t.setFont(QStringLiteral("Courier"));
        t.setFontSize(72);
        t.Draw(surface, 13);
        const Call printed = printCall(QStringLiteral("Hallo"), 0x00FF00, 13);
        QCOMPARE(surface.calls, (Calls{printed, printed}));
        QCOMPARE(surface.getDrawMode(), 7);
    }

    void drawSelected()
    {
        RecordingSurface surface; // 90 per character: "abc" is 270 wide
        surface.setForeColor(0x00FF00);
        surface.setDrawMode(7);
        makeText(QStringLiteral("abc")).DrawSelected(surface, 13);
        // clang-format off
        const QList<QPointF> markers{{800, 1950}, {800, 2050}, {900, 2050}, {900, 1950},
                                     {800, 2250}, {800, 2150}, {900, 2150}, {900, 2250},
                                     {1370, 1950}, {1370, 2050}, {1470, 2050}, {1470, 1950},
                                     {1370, 2250}, {1370, 2150}, {1470, 2150}, {1470, 2250}};
        // clang-format on
        QCOMPARE(surface.calls, Calls{printCall(QStringLiteral("abc"), 0x00FF00, 13)} + RecordingSurface::squares(markers, 255, 13));
        QCOMPARE(surface.getDrawMode(), 7);
    }

    void measuredWidth_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("charWidth");
        QTest::addColumn<int>("width");
        QTest::newRow("empty") << QString() << 90.0f << 0;
        QTest::newRow("half to even, down") << QStringLiteral("a") << 22.5f << 22;
        QTest::newRow("half to even, up") << QStringLiteral("abc") << 22.5f << 68;
        QTest::newRow("16-bit maximum") << QStringLiteral("a") << 32767.4f << 32767;
        QTest::newRow("16-bit minimum") << QStringLiteral("a") << -32768.5f << -32768;
    }

    // The right-hand squares span x + w + 100 to x + w + 200.
    void measuredWidth()
    {
        QFETCH(QString, text);
        QFETCH(float, charWidth);
        QFETCH(int, width);
        RecordingSurface surface;
        surface.charWidth = charWidth;
        makeText(text).DrawSelected(surface, 13);
        const Calls lines = surface.lines();
        QCOMPARE(lines.size(), 16);
        QCOMPARE((QList<float>{lines[8].x1, lines[9].x2}),
                 (QList<float>{1000.0f + width + 100, 1000.0f + width + 200}));
    }

    void overflow_data()
    {
        QTest::addColumn<float>("charWidth");
        QTest::addColumn<float>("x");
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("width 32767.5 rounds to 32768") << 32767.5f << 1000.0f;
        QTest::newRow("width below -32768") << -32769.0f << 1000.0f;
        QTest::newRow("width not a number") << std::numeric_limits<float>::quiet_NaN() << 1000.0f;
        QTest::newRow("infinite x") << 90.0f << inf;
    }

    // The text is printed again before the failure; nothing else is drawn.
    void overflow()
    {
        QFETCH(float, charWidth);
        QFETCH(float, x);
        Text t = makeText(QStringLiteral("a"));
        t.setX1(x);
        RecordingSurface surface;
        surface.charWidth = charWidth;
        QVERIFY_THROWS_EXCEPTION(OverflowError, t.DrawSelected(surface, 10));
        QCOMPARE(surface.calls.size(), 1);
        QCOMPARE(surface.calls.first().kind, Call::Print);
        QCOMPARE(surface.getDrawMode(), 10);
    }

    void rotateAndDistoreChangeNothing()
    {
        Text t = makeText(QStringLiteral("abc"));
        t.Rotate(90);
        t.Distore(2, 0.5f);
        QCOMPARE((QList<float>{t.getX1(), t.getY1()}), (QList<float>{1000, 2000}));
        QCOMPARE(t.getText(), QStringLiteral("abc"));
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_Text.moc"
