#pragma once
// Every shape kind of the editor, one row each: its tool states, its item in Zeichnen, its DXF
// entity and its number in the recovery record follow from its row and place here.

#include "shapes/Kreis.h"
#include "shapes/Linie.h"
#include "shapes/Punkt.h"
#include "shapes/Rechteck.h"
#include "shapes/Text.h"

#include <cstddef>
#include <string_view>

// A new kind goes at the end: the first five keep the tool states and record numbers they have.
inline constexpr const ShapeKind *AllShapeKinds[] = {&Punkt::kind, &Linie::kind, &Rechteck::kind, &Kreis::kind,
                                                     &Text::kind};

// The kind's place in the table, from 0; found by its class's name, as a constant expression
// may not compare the addresses of two objects under every compiler's instrumentation.
constexpr std::size_t kindIndex(const ShapeKind &kind)
{
    std::size_t index = 0;
    while (std::string_view(AllShapeKinds[index]->name) != kind.name)
        ++index;
    return index;
}
