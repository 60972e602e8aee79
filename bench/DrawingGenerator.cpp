#include "DrawingGenerator.h"

#include "document/ObjectData.h"
#include "files/DxfWriter.h"
#include "platform/RasterSurface.h"
#include "support/ShapeKinds.h"
#include "window/frmZeichnen.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <cmath>

namespace {

constexpr std::int32_t KindCount = 5;

// Mouse positions are whole pixels; the window's client area is a little wider and taller than
// this, and a tenth of the positions lie beyond it.
class MousePositions
{
public:
    explicit MousePositions(std::uint32_t seed) : m_random(seed) {}

    float x() { return pixel(frmZeichnen::ClientWidthTwips); }
    float y() { return pixel(frmZeichnen::ClientHeightTwips); }
    // A second click near the first, as for a line, rectangle or circle.
    float near(float first, int reach) { return first + pixelOffset(reach); }
    std::int32_t color() { return static_cast<std::int32_t>(m_random.bounded(0x1000000)); }

private:
    float pixel(int extentTwips)
    {
        const int pixels = extentTwips / RasterSurface::TwipsPerPixel;
        const int margin = pixels / 20;
        return static_cast<float>(m_random.bounded(-margin, pixels + margin) * RasterSurface::TwipsPerPixel);
    }
    float pixelOffset(int reachTwips)
    {
        const int reach = reachTwips / RasterSurface::TwipsPerPixel;
        return static_cast<float>(m_random.bounded(-reach, reach + 1) * RasterSurface::TwipsPerPixel);
    }

    QRandomGenerator m_random;
};

} // namespace

QByteArray DrawingGenerator::dxf(std::int32_t shapeCount)
{
    MousePositions mouse(20260101u + static_cast<std::uint32_t>(shapeCount));
    ObjectData drawing;
    for (std::int32_t i = 0; i < shapeCount; ++i) {
        const float x1 = mouse.x();
        const float y1 = mouse.y();
        switch (i % KindCount) {
        case 0:
            drawing.AddObject(ShapeKinds::punkt(x1, y1, mouse.color()));
            break;
        case 1: {
            const float x2 = mouse.near(x1, 3000);
            const float y2 = mouse.near(y1, 3000);
            drawing.AddObject(ShapeKinds::linie(x1, y1, x2, y2, mouse.color()));
            break;
        }
        case 2: {
            const float x2 = mouse.near(x1, 2000);
            const float y2 = mouse.near(y1, 1500);
            drawing.AddObject(ShapeKinds::rechteck(x1, y1, x2, y2, mouse.color()));
            break;
        }
        case 3: {
            // The radius as the distance between two clicks, as the circle tool takes it.
            const double dx = mouse.near(x1, 1500) - x1;
            const double dy = mouse.near(y1, 1500) - y1;
            drawing.AddObject(ShapeKinds::kreis(x1, y1, static_cast<float>(std::sqrt(dx * dx + dy * dy)), mouse.color()));
            break;
        }
        default: {
            auto text = ShapeKinds::text(x1, y1, QStringLiteral("Text %1").arg(i));
            text->setColor(mouse.color());
            drawing.AddObject(std::move(text));
            break;
        }
        }
    }

    return written(drawing);
}

QByteArray DrawingGenerator::written(const ObjectData &drawing)
{
    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    DxfWriter(drawing).write(buffer);
    return content;
}

void DrawingGenerator::addText(ObjectData &drawing, float x, float y, const QString &text)
{
    drawing.AddObject(ShapeKinds::text(x, y, text));
}

QByteArray DrawingGenerator::mixedScriptTexts(std::int64_t bytes)
{
    const QStringList words = {
        QStringLiteral("Text"), QStringLiteral("Plan"), QString::fromUtf16(u"Stra\u00DFe"),
        QString::fromUtf16(u"Caf\u0065\u0301"), QString::fromUtf16(u"n\u0303o"),
        QString::fromUtf16(u"\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD"),
        QString::fromUtf16(u"\u05D1\u05D9\u05EA"), QString::fromUtf16(u"\u0645\u0631\u062D\u0628\u0627"),
        QString::fromUtf16(u"\u0628\u064E\u064A\u062A")};
    MousePositions mouse(20260102u);
    QRandomGenerator random(20260103u);
    ObjectData drawing;
    std::int64_t written = 0;
    for (std::int32_t i = 0; written < bytes; ++i) {
        // A Latin word first, so that the line runs left to right.
        QString text = words[random.bounded(3)] + QStringLiteral(" %1").arg(i % 1000);
        for (int w = random.bounded(2, 5); w > 0; --w)
            text += QLatin1Char(' ') + words[random.bounded(words.size())];
        addText(drawing, mouse.x(), mouse.y(), text);
        written += 40 + text.size() * 10 / 3; // an entity's lines, and escapes for many characters
    }
    return DrawingGenerator::written(drawing);
}

QByteArray DrawingGenerator::cjkLabels(std::int32_t labels, std::int32_t distinct)
{
    MousePositions mouse(20260104u);
    QRandomGenerator random(20260105u);
    ObjectData drawing;
    for (std::int32_t i = 0; i < labels; ++i) {
        QString text;
        for (int c = random.bounded(3, 7); c > 0; --c)
            text += QChar(char16_t(0x4E00 + random.bounded(distinct)));
        addText(drawing, mouse.x(), mouse.y(), text);
    }
    return written(drawing);
}

QByteArray DrawingGenerator::largeCircles(std::int32_t circles)
{
    MousePositions mouse(20260106u);
    QRandomGenerator random(20260107u);
    ObjectData drawing;
    for (std::int32_t i = 0; i < circles; ++i) {
        // The centre so far out in a random direction that the outline passes a point inside.
        const double radius = random.bounded(3500, 4501);
        const double angle = random.bounded(2.0 * M_PI);
        const auto x = static_cast<float>(std::round(mouse.x() + std::cos(angle) * radius * RasterSurface::TwipsPerPixel));
        const auto y = static_cast<float>(std::round(mouse.y() + std::sin(angle) * radius * RasterSurface::TwipsPerPixel));
        drawing.AddObject(ShapeKinds::kreis(x, y, static_cast<float>(radius * RasterSurface::TwipsPerPixel), mouse.color()));
    }
    return written(drawing);
}

namespace {

// A whole pixel of the window's drawing area, in twips.
float windowPixel(QRandomGenerator &random, int extentTwips)
{
    return static_cast<float>(random.bounded(extentTwips / RasterSurface::TwipsPerPixel) * RasterSurface::TwipsPerPixel);
}

} // namespace

QByteArray DrawingGenerator::centredCircles(std::int32_t circles)
{
    QRandomGenerator random(20260108u);
    ObjectData drawing;
    constexpr int Pixel = RasterSurface::TwipsPerPixel;
    const int centreX = frmZeichnen::ClientWidthTwips / Pixel / 2 * Pixel;
    const int centreY = frmZeichnen::ClientHeightTwips / Pixel / 2 * Pixel;
    for (std::int32_t i = 0; i < circles; ++i) {
        const auto x = static_cast<float>(centreX + random.bounded(-10, 11) * Pixel);
        const auto y = static_cast<float>(centreY + random.bounded(-10, 11) * Pixel);
        const auto radius = static_cast<float>(random.bounded(19000, 21001) * Pixel);
        drawing.AddObject(ShapeKinds::kreis(x, y, radius, static_cast<std::int32_t>(random.bounded(0x1000000))));
    }
    return written(drawing);
}

QByteArray DrawingGenerator::edgeArcs(std::int32_t circles)
{
    constexpr int Radius = 1000000;
    QRandomGenerator random(20260109u);
    ObjectData drawing;
    for (std::int32_t i = 0; i < circles; ++i) {
        const auto x = static_cast<float>((random.bounded(1, 17) - Radius) * RasterSurface::TwipsPerPixel);
        const float y = windowPixel(random, frmZeichnen::ClientHeightTwips);
        drawing.AddObject(ShapeKinds::kreis(x, y, float(Radius) * RasterSurface::TwipsPerPixel,
                                            static_cast<std::int32_t>(random.bounded(0x1000000))));
    }
    return written(drawing);
}

QByteArray DrawingGenerator::scatteredTexts(std::int32_t texts)
{
    return scattered(20260110u, texts, [](float x, float y, std::int32_t i, std::int32_t colour) {
        auto text = ShapeKinds::text(x, y, QStringLiteral("Text %1").arg(i));
        text->setColor(colour);
        return text;
    });
}

QByteArray DrawingGenerator::evenPoints(std::int32_t points)
{
    return scattered(20260111u, points, [](float x, float y, std::int32_t, std::int32_t colour) {
        return ShapeKinds::punkt(x, y, colour);
    });
}

QByteArray DrawingGenerator::scattered(std::uint32_t seed, std::int32_t count,
                                       const std::function<std::shared_ptr<Basisklasse>(float, float, std::int32_t, std::int32_t)> &make)
{
    QRandomGenerator random(seed);
    ObjectData drawing;
    for (std::int32_t i = 0; i < count; ++i) {
        const float x = windowPixel(random, frmZeichnen::ClientWidthTwips);
        const float y = windowPixel(random, frmZeichnen::ClientHeightTwips);
        drawing.AddObject(make(x, y, i, static_cast<std::int32_t>(random.bounded(0x1000000))));
    }
    return written(drawing);
}

std::int32_t DrawingGenerator::shapesAfterReading(std::int32_t shapeCount)
{
    const std::int32_t rectangles = shapeCount / KindCount + (shapeCount % KindCount > 2 ? 1 : 0);
    return shapeCount + 3 * rectangles;
}
