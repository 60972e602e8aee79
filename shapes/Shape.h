#pragma once
// What every shape kind of the editor must say of itself: derive from Shape, and a forgotten
// operation is a compile error.

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
    void setSelected(bool bSel) override = 0;
    void writeDxf(DxfEntitySink &sink) const override = 0;
    std::optional<SurfaceEffect> surfaceEffect() const override = 0;
    QRect reach(const PixelReach &surface) const override = 0;
};
