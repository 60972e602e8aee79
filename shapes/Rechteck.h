#pragma once
// A closed outline through four corner points, drawn 1 → 2 → 3 → 4 → 1.

#include "shapes/Shape.h"

class Rechteck : public Shape
{
public:
    // The rectangle tool; its four sides are written as lines and read back as such.
    static std::shared_ptr<Basisklasse> place(ShapeBlocks *blocks, const ShapePlacement &placement);
    static constexpr ShapeKind kind{"Rechteck", "mnuRechteck", "&Rechteck", 2, false, {}, {}, nullptr, &place};

    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    void Rotate(double) override {}
    void Distore(float sXPercentage, float sYPercentage) override;
    void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override { return copied(*this, blocks); }
    void writeDxf(DxfEntitySink &sink) const override;
    std::optional<SurfaceEffect> surfaceEffect() const override { return SurfaceEffect{}; }
    QRect reach(const PixelReach &surface) const override { return surface.pointsReach({{mX1, mY1}, {mX2, mY2}, {mX3, mY3}, {mX4, mY4}}, 0.0); }

    float getX2() const { return mX2; }
    void setX2(float sX2) { mX2 = sX2; }
    float getY2() const { return mY2; }
    void setY2(float sY2) { mY2 = sY2; }
    float getX3() const { return mX3; }
    void setX3(float sX3) { mX3 = sX3; }
    float getY3() const { return mY3; }
    void setY3(float sY3) { mY3 = sY3; }
    float getX4() const { return mX4; }
    void setX4(float sX4) { mX4 = sX4; }
    float getY4() const { return mY4; }
    void setY4(float sY4) { mY4 = sY4; }

private:
    void drawOutline(DrawingSurface &oObject) const;

    float mX2 = 0.0f;
    float mY2 = 0.0f;
    float mX3 = 0.0f;
    float mY3 = 0.0f;
    float mX4 = 0.0f;
    float mY4 = 0.0f;
};
