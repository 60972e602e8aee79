#include "shapes/Basisklasse.h"

#include "shapes/Checked.h"

#include <stdexcept>
#include <string>
#include <typeinfo>

void Basisklasse::Draw(DrawingSurface &, std::int16_t) {}

void Basisklasse::Rotate(double) {}

void Basisklasse::Distore(float, float) {}

void Basisklasse::DrawSelected(DrawingSurface &, std::int16_t) {}

std::shared_ptr<Basisklasse> Basisklasse::copy(ShapeBlocks &) const
{
    requireOverride("copy");
    return nullptr;
}

void Basisklasse::setSelected(bool)
{
    requireOverride("setSelected");
}

void Basisklasse::writeDxf(DxfEntitySink &) const
{
    requireOverride("writeDxf");
}

void Basisklasse::requireOverride(const char *operation) const
{
    if (typeid(*this) != typeid(Basisklasse))
        throw std::logic_error(std::string(typeid(*this).name()) + " does not override Basisklasse::"
                               + operation);
}

float Basisklasse::stretched(float fixed, float moving, float factor)
{
    return Checked::single(static_cast<double>(fixed)
                           + (static_cast<double>(moving) - fixed) * static_cast<double>(factor));
}

float Basisklasse::MarkerCoord::value() const
{
    const float partial = Checked::single(static_cast<double>(base) + first);
    return Checked::single(static_cast<double>(partial) + second);
}

void Basisklasse::drawMarker(DrawingSurface &oObject, std::int32_t color,
                             const std::array<MarkerCorner, 4> &corners)
{
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const MarkerCorner &from = corners[i];
        const MarkerCorner &to = corners[(i + 1) % corners.size()];
        oObject.Line(from.x.value(), from.y.value(), to.x.value(), to.y.value(), color);
    }
}

void Basisklasse::drawSideMarker(DrawingSurface &oObject, std::int32_t color, float x, double side, float y,
                                 double from, double to)
{
    const MarkerCoord outer{x, 200.0 * side}, inner{x, 100.0 * side};
    const MarkerCoord first{y, from}, second{y, to};
    drawMarker(oObject, color, {{{outer, first}, {outer, second}, {inner, second}, {inner, first}}});
}
