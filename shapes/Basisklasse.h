#pragma once
// The interface every shape implements; a plain Basisklasse is an inert shape.

#include "shapes/DrawingSurface.h"
#include "shapes/DxfEntitySink.h"
#include "shapes/PixelReach.h"
#include "shapes/ShapeBlocks.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class Basisklasse
{
public:
    Basisklasse() = default;
    virtual ~Basisklasse() = default;

    virtual void Draw(DrawingSurface &oObject, std::int16_t iDrawMode);
    virtual void Rotate(double dNewAngle);
    virtual void Distore(float sXPercentage, float sYPercentage);
    virtual void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode);

    // What each shape class knows of itself. A plain Basisklasse is not copied (null), has no
    // selection flag and writes no entity. The editor's shapes derive from Shape, where these are
    // pure; a class derived from Basisklasse directly that does not override one of them raises
    // std::logic_error when it is called, rather than being left out silently.

    // A new object of the same class, made in blocks, every property copied.
    virtual std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const;
    virtual void setSelected(bool bSel);
    // The shape's DXF entity or entities.
    virtual void writeDxf(DxfEntitySink &sink) const;

    // What a repaint asks, to draw shapes out of order with the result of drawing them in order.
    // What Draw leaves on the surface besides pixels.
    struct SurfaceEffect
    {
        // Draw sets the ForeColor to this, and leaves it so.
        std::optional<std::int32_t> foreColor;
        // Draw prints here in the ForeColor it finds, which leaves the text position one line below.
        std::optional<QPointF> printsAt;
    };
    // None when not known, as for a plain Basisklasse: a drawing that holds such a shape is
    // repainted by drawing every shape in order.
    virtual std::optional<SurfaceEffect> surfaceEffect() const { return std::nullopt; }
    // The box of pixels Draw may set on the surface; asked only of a shape whose effect is known.
    virtual QRect reach(const PixelReach &) const { return QRect(); }
    // Whether Draw may set a pixel of the area, a part of the reach: false only where the shape
    // surely leaves it alone, as a circle's outline leaves its inside.
    virtual bool reaches(const PixelReach &, const QRect &) const { return true; }

protected:
    // The moving coordinate stretched about the fixed one, in double and rounded once when stored.
    static float stretched(float fixed, float moving, float factor);

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
    // The marker square beside x (side -1 left, +1 right) between the rows y + from and y + to,
    // centred on the row y unless told, drawn from its outer corner in the row y + from.
    static void drawSideMarker(DrawingSurface &oObject, std::int32_t color, float x, double side, float y,
                               double from = -50.0, double to = 50.0);

private:
    void requireOverride(const char *operation) const;
};
