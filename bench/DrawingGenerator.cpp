#include "DrawingGenerator.h"

#include "document/ObjectData.h"
#include "files/DxfWriter.h"
#include "platform/RasterSurface.h"
#include "shapes/Kreis.h"
#include "shapes/Linie.h"
#include "shapes/Punkt.h"
#include "shapes/Rechteck.h"
#include "shapes/Text.h"
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
        case 0: {
            auto punkt = std::make_shared<Punkt>();
            punkt->setX1(x1);
            punkt->setY1(y1);
            punkt->setColor(mouse.color());
            drawing.AddObject(std::move(punkt));
            break;
        }
        case 1: {
            auto linie = std::make_shared<Linie>();
            linie->setX1(x1);
            linie->setY1(y1);
            linie->setX2(mouse.near(x1, 3000));
            linie->setY2(mouse.near(y1, 3000));
            linie->setColor(mouse.color());
            drawing.AddObject(std::move(linie));
            break;
        }
        case 2: {
            const float x2 = mouse.near(x1, 2000);
            const float y2 = mouse.near(y1, 1500);
            auto rechteck = std::make_shared<Rechteck>();
            rechteck->setX1(x1);
            rechteck->setY1(y1);
            rechteck->setX2(x2);
            rechteck->setY2(y1);
            rechteck->setX3(x2);
            rechteck->setY3(y2);
            rechteck->setX4(x1);
            rechteck->setY4(y2);
            rechteck->setColor(mouse.color());
            drawing.AddObject(std::move(rechteck));
            break;
        }
        case 3: {
            // The radius as the distance between two clicks, as the circle tool takes it.
            const double dx = mouse.near(x1, 1500) - x1;
            const double dy = mouse.near(y1, 1500) - y1;
            auto kreis = std::make_shared<Kreis>();
            kreis->setX1(x1);
            kreis->setY1(y1);
            kreis->setRadius(static_cast<float>(std::sqrt(dx * dx + dy * dy)));
            kreis->setColor(mouse.color());
            drawing.AddObject(std::move(kreis));
            break;
        }
        default: {
            auto text = std::make_shared<Text>();
            text->setX1(x1);
            text->setY1(y1);
            text->setColor(mouse.color());
            text->setText(QStringLiteral("Text %1").arg(i));
            drawing.AddObject(std::move(text));
            break;
        }
        }
    }

    QByteArray content;
    QBuffer buffer(&content);
    buffer.open(QIODevice::WriteOnly);
    DxfWriter(drawing).write(buffer);
    return content;
}

std::int32_t DrawingGenerator::shapesAfterReading(std::int32_t shapeCount)
{
    const std::int32_t rectangles = shapeCount / KindCount + (shapeCount % KindCount > 2 ? 1 : 0);
    return shapeCount + 3 * rectangles;
}
