#pragma once
// The values of the main window's tool state iPaintMode: which tool is active and which click it
// waits for. iPaintMode itself stays a public 16-bit integer, which the text dialog writes too.
// These are the designed kinds' states; a kind added after them takes the states after 8, one
// per click (see AllShapeKinds).

#include <cstdint>

namespace PaintMode {

enum Value : std::int16_t {
    NoTool = 0,         // clicks place nothing
    PunktTool = 1,      // the next left click places a point
    LinieAnchor = 2,    // waits for the line's first point
    LinieBand = 3,      // first point taken, the band follows the mouse; waits for the second
    RechteckAnchor = 4, // waits for the first corner
    RechteckBand = 5,   // first corner taken, band; waits for the opposite corner
    KreisAnchor = 6,    // waits for the centre
    KreisBand = 7,      // centre taken, band; waits for a point on the circle
    TextTool = 8,       // a text has been entered; the next left click places it
};

} // namespace PaintMode
