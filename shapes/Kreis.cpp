#include "shapes/Kreis.h"

#include "shapes/Checked.h"

#include <cmath>

void Kreis::Draw(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] { drawOutline(oObject); });
}

// Only the horizontal factor applies, so the circle stays a circle.
void Kreis::Distore(float sXPercentage, float)
{
    mRadius = Checked::single(static_cast<double>(mRadius) * static_cast<double>(sXPercentage));
}

void Kreis::DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] {
        drawOutline(oObject);

        // Squares inside the corners of the bounding square. A coordinate is the centre ∓ the
        // radius, rounded, then ± 100, rounded again: evaluated left to right.
        const double r = mRadius;
        const MarkerCoord leftEdge{mX1, -r}, leftInner{mX1, -r, 100.0};
        const MarkerCoord rightInner{mX1, r, -100.0}, rightEdge{mX1, r};
        const MarkerCoord topEdge{mY1, -r}, topInner{mY1, -r, 100.0};
        const MarkerCoord bottomInner{mY1, r, -100.0}, bottomEdge{mY1, r};
        // Clockwise on the screen from the upper-left corner.
        const auto marker = [&](const MarkerCoord &left, const MarkerCoord &right,
                                const MarkerCoord &top, const MarkerCoord &bottom) {
            drawMarker(oObject, mColor,
                       {{{left, top}, {right, top}, {right, bottom}, {left, bottom}}});
        };
        marker(leftEdge, leftInner, topEdge, topInner);
        marker(rightInner, rightEdge, topEdge, topInner);
        marker(leftEdge, leftInner, bottomInner, bottomEdge);
        marker(rightInner, rightEdge, bottomInner, bottomEdge);
    });
}

// Circle draws in ForeColor, so the circle's colour stays the surface's ForeColor afterwards.
void Kreis::drawOutline(DrawingSurface &oObject) const
{
    oObject.setForeColor(mColor);
    oObject.Circle(mX1, mY1, mRadius);
}

void Kreis::writeDxf(DxfEntitySink &sink) const
{
    sink.beginEntity("0", "CIRCLE");
    sink.point("10", "20", mX1, mY1);
    sink.number("40", mRadius);
}

// The centre first; the radius is the distance to the second point, in double and checked once
// stored (no step in double overflows where the points are floats, and a step not finite stays
// so), so that a circle that overflows is neither drawn nor placed.
std::shared_ptr<Basisklasse> Kreis::place(ShapeBlocks *blocks, const ShapePlacement &placement)
{
    const double dx = std::abs(static_cast<double>(placement.x1) - placement.x2);
    const double dy = std::abs(static_cast<double>(placement.y1) - placement.y2);
    const float radius = Checked::single(std::sqrt(dy * dy + dx * dx));
    auto shape = ShapeKind::made<Kreis>(blocks, placement);
    shape->setRadius(radius);
    return shape;
}

void Kreis::fromDxf(ShapePlacement &placement, double radius)
{
    placement.x2 = Checked::single(static_cast<double>(placement.x1) + radius);
    placement.y2 = placement.y1;
}
