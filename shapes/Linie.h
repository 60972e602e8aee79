#pragma once
// A straight segment from a start point to an end point.

#include "shapes/Shape.h"

class Linie : public Shape
{
public:
    // The line tool and the LINE entity.
    static std::shared_ptr<Basisklasse> place(ShapeBlocks *blocks, const ShapePlacement &placement);
    static constexpr ShapeKind::DxfGroup dxfGroups[] = {{11, ShapeKind::DxfValue::LastX},
                                                        {21, ShapeKind::DxfValue::LastY}};
    static constexpr ShapeKind kind{"Linie", "mnuLinie", "&Linie", 2, false, "LINE", dxfGroups, nullptr, &place};

    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    void Rotate(double) override {}
    void Distore(float sXPercentage, float sYPercentage) override;
    void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override { return copied(*this, blocks); }
    void writeDxf(DxfEntitySink &sink) const override;
    std::optional<SurfaceEffect> surfaceEffect() const override { return SurfaceEffect{}; }
    QRect reach(const PixelReach &surface) const override { return surface.pointsReach({{mX1, mY1}, {mX2, mY2}}, 0.0); }

    float getX2() const { return mX2; }
    void setX2(float sX2) { mX2 = sX2; }
    float getY2() const { return mY2; }
    void setY2(float sY2) { mY2 = sY2; }

private:
    float mX2 = 0.0f;
    float mY2 = 0.0f;
};
