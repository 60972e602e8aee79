#pragma once
// What every shape kind of the editor must say of itself: derive from Shape, and a forgotten
// operation is a compile error. Shape holds the properties every kind has.

#include "shapes/Basisklasse.h"
#include "shapes/ShapeKind.h"

// Basisklasse keeps its designed slots with bodies, so that a plain Basisklasse is an inert
// shape; here every operation the program relies on is pure.
class Shape : public Basisklasse
{
public:
    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override = 0;
    void Rotate(double dNewAngle) override = 0;
    void Distore(float sXPercentage, float sYPercentage) override = 0;
    void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode) override = 0;
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override = 0;
    void writeDxf(DxfEntitySink &sink) const override = 0;
    std::optional<SurfaceEffect> surfaceEffect() const override = 0;
    QRect reach(const PixelReach &surface) const override = 0;

    float getX1() const { return mX1; }
    void setX1(float sX1) { mX1 = sX1; }
    float getY1() const { return mY1; }
    void setY1(float sY1) { mY1 = sY1; }
    std::int32_t getColor() const { return mColor; }
    void setColor(std::int32_t mlCol) { mColor = mlCol; }
    bool getSelected() const { return mSelected; }
    void setSelected(bool bSel) override { mSelected = bSel; }

protected:
    // copy() of a shape class: a new object in blocks with every property of shape.
    template <typename T>
    static std::shared_ptr<Basisklasse> copied(const T &shape, ShapeBlocks &blocks)
    {
        auto copy = blocks.make<T>();
        *copy = shape;
        return copy;
    }

    float mX1 = 0.0f;
    float mY1 = 0.0f;
    std::int32_t mColor = 0;
    bool mSelected = false;
};
