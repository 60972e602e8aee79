#pragma once
// The draw modes the editor draws with: raster-operation codes of DrawingSurface::setDrawMode,
// and the iDrawMode of Draw and of the placement operations.

#include <cstdint>

namespace DrawMode {

enum Value : std::int16_t {
    // Black: a shape being placed is drawn once so, before the repaint draws it in its colour; as
    // the iDrawMode of a placement operation it places the shape for good.
    Place = 1,
    // NOT (pen XOR dst): drawing a rubber band a second time removes it.
    Band = 10,
    // The pen: every repaint.
    Repaint = 13,
};

} // namespace DrawMode
