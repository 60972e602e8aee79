#pragma once
// The interface every shape implements; a plain Basisklasse is an inert shape.

#include "shapes/DrawingSurface.h"

#include <array>
#include <cstdint>

class Basisklasse
{
public:
    Basisklasse() = default;
    virtual ~Basisklasse() = default;

    virtual void Draw(DrawingSurface &oObject, std::int16_t iDrawMode);
    virtual void Rotate(double dNewAngle);
    virtual void Distore(float sXPercentage, float sYPercentage);
    virtual void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode);

protected:
    // A marker coordinate: (base + first) rounded to a 32-bit float, then + second, rounded
    // again. Both roundings are checked, so a coordinate that is not finite raises the overflow.
    struct MarkerCoord
    {
        float base;
        double first;
        double second = 0.0;
        float value() const;
    };
    struct MarkerCorner
    {
        MarkerCoord x;
        MarkerCoord y;
    };

    // The draw protocol: keep DrawMode, set iDrawMode, draw, restore. An error thrown by
    // draw() leaves DrawMode at iDrawMode, as the drawing it interrupted left the surface.
    template <typename DrawFunction>
    static void withDrawMode(DrawingSurface &oObject, std::int16_t iDrawMode, DrawFunction &&draw)
    {
        const std::int16_t kept = oObject.getDrawMode();
        oObject.setDrawMode(iDrawMode);
        draw();
        oObject.setDrawMode(kept);
    }

    // A selection-marker square as four Line calls a→b→c→d→a. The coordinates of each call
    // are computed just before it, so the sides drawn before a failing one stay drawn.
    static void drawMarker(DrawingSurface &oObject, std::int32_t color,
                           const std::array<MarkerCorner, 4> &corners);
};
