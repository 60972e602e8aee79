#pragma once
// The outline of a circle given by its centre and radius.

#include "shapes/Shape.h"

class Kreis : public Shape
{
public:
    Kreis();

    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    void Rotate(double dNewAngle) override;
    void Distore(float sXPercentage, float sYPercentage) override;
    void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override;
    void writeDxf(DxfEntitySink &sink) const override;
    std::optional<SurfaceEffect> surfaceEffect() const override;
    QRect reach(const PixelReach &surface) const override;
    bool reaches(const PixelReach &surface, const QRect &area) const override;

    float getX1() const { return mX1; }
    void setX1(float sX1) { mX1 = sX1; }
    float getY1() const { return mY1; }
    void setY1(float sY1) { mY1 = sY1; }
    float getRadius() const { return mRadius; }
    void setRadius(float sR) { mRadius = sR; }
    std::int32_t getColor() const { return mColor; }
    void setColor(std::int32_t mlCol) { mColor = mlCol; }
    bool getSelected() const { return mSelected; }
    void setSelected(bool bSel) override { mSelected = bSel; }

private:
    void drawOutline(DrawingSurface &oObject) const;

    float mX1 = 0.0f;
    float mY1 = 0.0f;
    float mRadius = 0.0f;
    std::int32_t mColor = 0;
    bool mSelected = false;
};
