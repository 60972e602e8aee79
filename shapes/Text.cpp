#include "shapes/Text.h"

#include "shapes/Checked.h"

void Text::Draw(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] { print(oObject); });
}

void Text::DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    withDrawMode(oObject, iDrawMode, [&] {
        print(oObject);
        // The measured width as a 16-bit integer; a wider text is an overflow.
        const double w = Checked::integer<std::int16_t>(oObject.TextWidth(mText));

        const MarkerCoord rightInner{mX1, w, 100.0}, rightOuter{mX1, w, 200.0};
        const MarkerCoord upperTop{mY1, -50.0}, upperBottom{mY1, 50.0};
        const MarkerCoord lowerTop{mY1, 150.0}, lowerBottom{mY1, 250.0};
        // The upper squares start at their top corner, the lower ones at their bottom corner.
        drawSideMarker(oObject, mColor, mX1, -1.0, mY1);
        drawSideMarker(oObject, mColor, mX1, -1.0, mY1, 250.0, 150.0);
        drawMarker(oObject, mColor, {{{rightInner, upperTop}, {rightInner, upperBottom}, {rightOuter, upperBottom}, {rightOuter, upperTop}}});
        drawMarker(oObject, mColor, {{{rightInner, lowerBottom}, {rightInner, lowerTop}, {rightOuter, lowerTop}, {rightOuter, lowerBottom}}});
    });
}

// Font, FontSize and Color do not take part: the surface's own font and ForeColor apply.
void Text::print(DrawingSurface &oObject) const
{
    oObject.setCurrentX(mX1);
    oObject.setCurrentY(mY1);
    oObject.Print(mText);
}

// The font name goes into the text style (group 7) and the font size into the height (group 40).
void Text::writeDxf(DxfEntitySink &sink) const
{
    sink.beginEntity("0", "TEXT");
    sink.point("10", "20", mX1, mY1);
    sink.text("7", mFont);
    sink.number("40", mFontSize);
    sink.text("1", mText);
}

std::shared_ptr<Basisklasse> Text::place(ShapeBlocks *blocks, const ShapePlacement &placement)
{
    auto shape = ShapeKind::made<Text>(blocks, placement);
    shape->setText(placement.text);
    shape->setFont(placement.font);
    shape->setFontSize(Checked::integer32(placement.fontSize));
    return shape;
}
