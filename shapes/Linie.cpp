#include "shapes/Linie.h"

#include "shapes/Checked.h"

namespace {

// The moving coordinate stretched about the fixed one, in double and rounded once when stored.
float stretched(float fixed, float moving, float factor)
{
    return Checked::single(static_cast<double>(fixed)
                           + (static_cast<double>(moving) - fixed) * static_cast<double>(factor));
}

} // namespace

Linie::Linie()
{
    mSelected = false;
}

void Linie::Draw(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] { oObject.Line(mX1, mY1, mX2, mY2, mColor); });
}

void Linie::Rotate(double) {}

void Linie::Distore(float sXPercentage, float sYPercentage)
{
    mX2 = stretched(mX1, mX2, sXPercentage);
    mY2 = stretched(mY1, mY2, sYPercentage);
}

void Linie::DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] {
        oObject.Line(mX1, mY1, mX2, mY2, mColor);

        // A square beside x (side -1 left, +1 right), centred on the row y, drawn from its
        // outer upper corner.
        const auto marker = [&](float x, double side, float y) {
            const MarkerCoord outer{x, 200.0 * side}, inner{x, 100.0 * side};
            const MarkerCoord top{y, -50.0}, bottom{y, 50.0};
            drawMarker(oObject, mColor,
                       {{{outer, top}, {outer, bottom}, {inner, bottom}, {inner, top}}});
        };
        // The columns stand outside the horizontal extent; equal x takes the second case.
        const double startSide = mX1 < mX2 ? -1.0 : +1.0;
        const double endSide = -startSide;
        marker(mX1, startSide, mY1);
        marker(mX1, startSide, mY2);
        marker(mX2, endSide, mY1);
        marker(mX2, endSide, mY2);
    });
}
