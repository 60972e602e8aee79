#pragma once
// Every shape kind of the editor, one row each: its tool states, its item in Zeichnen, its DXF
// entity and its number in the recovery record follow from its row and place here.

#include "shapes/Kreis.h"
#include "shapes/Linie.h"
#include "shapes/Punkt.h"
#include "shapes/Rechteck.h"
#include "shapes/Text.h"

#include <cstddef>

// A new kind goes at the end: the first five keep the tool states and record numbers they have.
inline constexpr const ShapeKind *AllShapeKinds[] = {&Punkt::kind, &Linie::kind, &Rechteck::kind, &Kreis::kind,
                                                     &Text::kind};

// The kind's place in the table, from 0.
constexpr std::size_t kindIndex(const ShapeKind &kind)
{
    std::size_t index = 0;
    while (AllShapeKinds[index] != &kind)
        ++index;
    return index;
}
