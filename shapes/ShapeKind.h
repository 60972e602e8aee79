#pragma once
// What the editor knows of a shape kind besides the shape: its tool, how it is placed, its DXF entity.

#include "shapes/ShapeBlocks.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <memory>
#include <span>

class Basisklasse;

// What a placement makes a shape from: the click of a one-click kind, or the anchor and the
// second click; the text of the kind that takes one; and what the window gives every new shape.
struct ShapePlacement
{
    ShapePlacement(float x1, float y1, float x2 = 0, float y2 = 0, const QString &text = QString())
        : x1(x1), y1(y1), x2(x2), y2(y2), text(text) {}

    float x1, y1, x2, y2;
    QString text;
    std::int32_t color = 0;
    QString font;
    float fontSize = 0;
};

struct ShapeKind
{
    // What a DXF group of the entity sets; the start point (10, 20) and the colour (62) are read
    // for every kind.
    enum class DxfValue : std::uint8_t {
        LastX,
        LastY,
        Number,
        Text
    };
    struct DxfGroup
    {
        int code;
        DxfValue value;
    };

    // The class's name, the object name and caption of its item in Zeichnen.
    const char *name;
    const char *menuItem;
    const char *caption;
    // One click places it, or two with a band between them. Each click is one tool state.
    int clicks;
    // The text kind: its item asks for the text first, its placement takes the window's text,
    // font and size, and it is not drawn before it is placed.
    bool takesText;
    // The DXF entity it is read from, the groups read besides the start point and the colour,
    // and what makes its placement of them: from the start point and the last point (x2, y2,
    // a two-click kind's) and the number; null where they are the placement as they stand.
    QByteArrayView dxfEntity;
    std::span<const DxfGroup> dxfGroups;
    void (*fromDxf)(ShapePlacement &placement, double number);
    // The shape of a placement, made in blocks, or on its own where blocks is null (a band's).
    std::shared_ptr<Basisklasse> (*make)(ShapeBlocks *blocks, const ShapePlacement &placement);

    // A new shape of class T for make: in blocks, or on its own where blocks is null; at the
    // placement's first point, in its colour.
    template <typename T>
    static std::shared_ptr<T> made(ShapeBlocks *blocks, const ShapePlacement &placement)
    {
        auto shape = blocks ? blocks->make<T>() : std::make_shared<T>();
        shape->setX1(placement.x1);
        shape->setY1(placement.y1);
        shape->setColor(placement.color);
        return shape;
    }
};
