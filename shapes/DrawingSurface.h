#pragma once
// The drawing target that shapes and the document draw on; coordinates in twips.

#include <QString>
#include <cstdint>

class DrawingSurface
{
public:
    virtual ~DrawingSurface() = default;

    // Raster-operation code 1 … 16 applied by PSet, Line and Circle.
    virtual std::int16_t getDrawMode() const = 0;
    virtual void setDrawMode(std::int16_t mode) = 0;

    // Colours are 0x00BBGGRR.
    virtual std::int32_t getForeColor() const = 0;
    virtual void setForeColor(std::int32_t color) = 0;
    virtual std::int32_t getBackColor() const = 0;
    // Fills the whole surface with the new colour.
    virtual void setBackColor(std::int32_t color) = 0;

    // Top-left corner of the next Print.
    virtual void setCurrentX(float x) = 0;
    virtual void setCurrentY(float y) = 0;

    virtual void PSet(float x, float y, std::int32_t color) = 0;
    virtual void Line(float x1, float y1, float x2, float y2, std::int32_t color) = 0;
    // Outline in ForeColor.
    virtual void Circle(float x, float y, float radius) = 0;
    // Text in the surface's font and ForeColor at (CurrentX, CurrentY).
    virtual void Print(const QString &text) = 0;
    virtual float TextWidth(const QString &text) const = 0;
};
