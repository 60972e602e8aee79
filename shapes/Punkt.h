#pragma once
// A single pixel at one position in one colour.

#include "shapes/Shape.h"

class Punkt : public Shape
{
public:
    Punkt();

    // The point tool and the POINT entity.
    static std::shared_ptr<Basisklasse> place(ShapeBlocks *blocks, const ShapePlacement &placement);
    static constexpr ShapeKind kind{"Punkt", "mnuPunkt", "&Punkt", 1, false, "POINT", {}, nullptr, &place};


    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    void Rotate(double dNewAngle) override;
    void Distore(float sXPercentage, float sYPercentage) override;
    void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override;
    void writeDxf(DxfEntitySink &sink) const override;
    std::optional<SurfaceEffect> surfaceEffect() const override;
    QRect reach(const PixelReach &surface) const override;

    float getX1() const { return mX1; }
    void setX1(float sX1) { mX1 = sX1; }
    float getY1() const { return mY1; }
    void setY1(float sY1) { mY1 = sY1; }
    std::int32_t getColor() const { return mColor; }
    void setColor(std::int32_t mlCol) { mColor = mlCol; }
    bool getSelected() const { return mSelected; }
    void setSelected(bool bSel) override { mSelected = bSel; }

private:
    float mX1 = 0.0f;
    float mY1 = 0.0f;
    std::int32_t mColor = 0;
    bool mSelected = false;
};
