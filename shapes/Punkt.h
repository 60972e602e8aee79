#pragma once
// A single pixel at one position in one colour.

#include "shapes/Shape.h"

class Punkt : public Shape
{
public:
    // The point tool and the POINT entity.
    static std::shared_ptr<Basisklasse> place(ShapeBlocks *blocks, const ShapePlacement &placement);
    static constexpr ShapeKind kind{"Punkt", "mnuPunkt", "&Punkt", 1, false, "POINT", {}, nullptr, &place};

    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    void Rotate(double) override {}
    // A point has no extent to stretch.
    void Distore(float, float) override {}
    void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override { return copied(*this, blocks); }
    void writeDxf(DxfEntitySink &sink) const override;
    std::optional<SurfaceEffect> surfaceEffect() const override { return SurfaceEffect{}; }
    QRect reach(const PixelReach &surface) const override { return surface.pointsReach({{mX1, mY1}}, 0.0); }
};
