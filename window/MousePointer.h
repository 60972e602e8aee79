#pragma once
// The values of the main window's MousePointer property.

#include <cstdint>

namespace MousePointer {

enum Value : std::int16_t {
    Default = 0,
    Arrow = 1,
    CrossHair = 2, // a tool waits for a click
};

} // namespace MousePointer
