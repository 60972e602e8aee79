#include "shapes/Rechteck.h"

void Rechteck::Draw(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] { drawOutline(oObject); });
}

// Keeps corner 1 fixed; the assignments made before a failing one keep their new values.
void Rechteck::Distore(float sXPercentage, float sYPercentage)
{
    mX2 = stretched(mX1, mX2, sXPercentage);
    mX3 = stretched(mX4, mX3, sXPercentage);
    mY3 = stretched(mY2, mY3, sYPercentage);
    mY4 = stretched(mY1, mY4, sYPercentage);
}

void Rechteck::DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] {
        drawOutline(oObject);
        // A square beside each corner: corners 1 and 4 share one side, 2 and 3 the other; zero
        // width takes the second case.
        const double firstSide = mX1 < mX2 ? -1.0 : +1.0;
        drawSideMarker(oObject, mColor, mX1, firstSide, mY1);
        drawSideMarker(oObject, mColor, mX2, -firstSide, mY2);
        drawSideMarker(oObject, mColor, mX3, -firstSide, mY3);
        drawSideMarker(oObject, mColor, mX4, firstSide, mY4);
    });
}

void Rechteck::drawOutline(DrawingSurface &oObject) const
{
    oObject.Line(mX1, mY1, mX2, mY2, mColor);
    oObject.Line(mX2, mY2, mX3, mY3, mColor);
    oObject.Line(mX3, mY3, mX4, mY4, mColor);
    oObject.Line(mX4, mY4, mX1, mY1, mColor);
}

// Four separate lines round the outline; only the second block begins with " 0".
void Rechteck::writeDxf(DxfEntitySink &sink) const
{
    sink.lineEntity("0", mX1, mY1, mX2, mY2);
    sink.lineEntity(" 0", mX2, mY2, mX3, mY3);
    sink.lineEntity("0", mX3, mY3, mX4, mY4);
    sink.lineEntity("0", mX4, mY4, mX1, mY1);
}

// The clicks are opposite corners; the corners go round from the first, set in this order.
std::shared_ptr<Basisklasse> Rechteck::place(ShapeBlocks *blocks, const ShapePlacement &placement)
{
    auto shape = ShapeKind::made<Rechteck>(blocks, placement);
    shape->setX3(placement.x2);
    shape->setY3(placement.y2);
    shape->setX2(placement.x2);
    shape->setY2(placement.y1);
    shape->setX4(placement.x1);
    shape->setY4(placement.y2);
    return shape;
}
