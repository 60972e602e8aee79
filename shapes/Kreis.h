#pragma once
// The outline of a circle given by its centre and radius.

#include "shapes/Shape.h"

class Kreis : public Shape
{
public:
    // The circle tool, centre first, and the CIRCLE entity, whose radius (40) becomes a second point.
    static std::shared_ptr<Basisklasse> place(ShapeBlocks *blocks, const ShapePlacement &placement);
    static void fromDxf(ShapePlacement &placement, double radius);
    static constexpr ShapeKind::DxfGroup dxfGroups[] = {{40, ShapeKind::DxfValue::Number}};
    static constexpr ShapeKind kind{"Kreis", "mnuKreis", "&Kreis", 2, false, "CIRCLE", dxfGroups, &fromDxf, &place};

    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    void Rotate(double) override {}
    void Distore(float sXPercentage, float sYPercentage) override;
    void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override { return copied(*this, blocks); }
    void writeDxf(DxfEntitySink &sink) const override;
    std::optional<SurfaceEffect> surfaceEffect() const override { return SurfaceEffect{mColor, std::nullopt}; }
    QRect reach(const PixelReach &surface) const override { return surface.circleReach(mX1, mY1, mRadius); }
    bool reaches(const PixelReach &surface, const QRect &area) const override { return surface.outlineMeets(mX1, mY1, mRadius, area); }

    float getRadius() const { return mRadius; }
    void setRadius(float sR) { mRadius = sR; }

private:
    void drawOutline(DrawingSurface &oObject) const;

    float mRadius = 0.0f;
};
