#include "shapes/Punkt.h"

// No initialisation of its own: the zeroed members are the new point's state.
void Punkt::Draw(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] { oObject.PSet(mX1, mY1, mColor); });
}

void Punkt::DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] {
        // One square diagonally off the point in each quadrant; each starts at its corner
        // farthest from the point and first runs towards the point's row.
        drawSideMarker(oObject, mColor, mX1, -1.0, mY1, -150.0, -50.0);
        drawSideMarker(oObject, mColor, mX1, +1.0, mY1, -150.0, -50.0);
        drawSideMarker(oObject, mColor, mX1, +1.0, mY1, 150.0, 50.0);
        drawSideMarker(oObject, mColor, mX1, -1.0, mY1, 150.0, 50.0);
    });
}

void Punkt::writeDxf(DxfEntitySink &sink) const
{
    sink.beginEntity("0", "POINT");
    sink.point("10", "20", mX1, mY1);
}

std::shared_ptr<Basisklasse> Punkt::place(ShapeBlocks *blocks, const ShapePlacement &placement)
{
    return ShapeKind::made<Punkt>(blocks, placement);
}
