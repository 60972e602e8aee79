#include "shapes/Linie.h"

void Linie::Draw(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] { oObject.Line(mX1, mY1, mX2, mY2, mColor); });
}

void Linie::Distore(float sXPercentage, float sYPercentage)
{
    mX2 = stretched(mX1, mX2, sXPercentage);
    mY2 = stretched(mY1, mY2, sYPercentage);
}

void Linie::DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] {
        oObject.Line(mX1, mY1, mX2, mY2, mColor);
        // The columns stand outside the horizontal extent; equal x takes the second case.
        const double startSide = mX1 < mX2 ? -1.0 : +1.0;
        const double endSide = -startSide;
        drawSideMarker(oObject, mColor, mX1, startSide, mY1);
        drawSideMarker(oObject, mColor, mX1, startSide, mY2);
        drawSideMarker(oObject, mColor, mX2, endSide, mY1);
        drawSideMarker(oObject, mColor, mX2, endSide, mY2);
    });
}

// A line's block begins with " 0"; the colour is not written.
void Linie::writeDxf(DxfEntitySink &sink) const
{
    sink.lineEntity(" 0", mX1, mY1, mX2, mY2);
}

std::shared_ptr<Basisklasse> Linie::place(ShapeBlocks *blocks, const ShapePlacement &placement)
{
    auto shape = ShapeKind::made<Linie>(blocks, placement);
    shape->setX2(placement.x2);
    shape->setY2(placement.y2);
    return shape;
}
