#pragma once
// What the DXF reader fills and calls: the anchor and end-point members, the colour for new shapes
// and the four placement operations of the drawing window.

#include <QString>
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

    // Each places one finished shape, exactly as a placement by hand does.
    virtual void PaintPunkt(const float &x, const float &y) = 0;
    virtual void PaintLinie(const float &x1, const float &y1, const float &x2, const float &y2,
                            const std::int16_t &iDrawMode) = 0;
    virtual void PaintKreis(const float &x1, const float &y1, const float &x2, const float &y2,
                            const std::int16_t &iDrawMode) = 0;
    virtual void PaintText(const float &x, const float &y, const QString &strText,
                           const std::int16_t &iDrawMode) = 0;
};
