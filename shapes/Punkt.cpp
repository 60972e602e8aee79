#include "shapes/Punkt.h"

// No initialisation of its own: the zeroed members are the new point's state.
void Punkt::Draw(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] { oObject.PSet(mX1, mY1, mColor); });
}

void Punkt::DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] {
        // One square diagonally off the point, on the side given by the signs; each starts at
        // its corner farthest from the point and first runs towards the point's row.
        const auto marker = [&](double xSide, double ySide) {
            const MarkerCoord xOuter{mX1, 200.0 * xSide}, xInner{mX1, 100.0 * xSide};
            const MarkerCoord yOuter{mY1, 150.0 * ySide}, yInner{mY1, 50.0 * ySide};
            drawMarker(oObject, mColor,
                       {{{xOuter, yOuter}, {xOuter, yInner}, {xInner, yInner}, {xInner, yOuter}}});
        };
        marker(-1.0, -1.0);
        marker(+1.0, -1.0);
        marker(+1.0, +1.0);
        marker(-1.0, +1.0);
    });
}

void Punkt::writeDxf(DxfEntitySink &sink) const
{
    sink.beginEntity("0", "POINT");
    sink.point("10", "20", mX1, mY1);
}

QRect Punkt::reach(const PixelReach &surface) const
{
    return surface.pointsReach({{mX1, mY1}}, 0.0);
}

std::shared_ptr<Basisklasse> Punkt::place(ShapeBlocks *blocks, const ShapePlacement &placement)
{
    return ShapeKind::made<Punkt>(blocks, placement);
}
