#pragma once
// What the DXF reader fills and calls: the anchor and end-point members, the colour for new shapes
// and the placement of the drawing window.

#include "shapes/ShapeKind.h"

#include <cstdint>

class DxfTarget
{
public:
    virtual ~DxfTarget() = default;

    virtual float getStartX() const = 0;
    virtual void setStartX(float sStartX) = 0;
    virtual float getStartY() const = 0;
    virtual void setStartY(float sStartY) = 0;
    virtual float getLastX() const = 0;
    virtual void setLastX(float sLastX) = 0;
    virtual float getLastY() const = 0;
    virtual void setLastY(float sLastY) = 0;
    // The colour (0x00BBGGRR) that the placements give to new shapes.
    virtual void setColor(std::int32_t lColor) = 0;

    // Places one finished shape of that kind, exactly as a placement by hand does.
    virtual void place(const ShapeKind &kind, const ShapePlacement &placement) = 0;
};
