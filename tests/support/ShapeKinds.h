#pragma once
// The shape kinds as the tests know them, one row each, and the factories that make shapes: every
// test that goes through all kinds reads this table, so a new kind is one more row.

#include "shapes/AllShapeKinds.h"
#include "support/DrawingText.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>
#include <typeinfo>

namespace ShapeKinds {

std::shared_ptr<Punkt> punkt(float x, float y, std::int32_t colour = 0);
std::shared_ptr<Linie> linie(float x1, float y1, float x2, float y2, std::int32_t colour = 0);
// Corners (x1, y1), (x3, y1), (x3, y3), (x1, y3).
std::shared_ptr<Rechteck> rechteck(float x1, float y1, float x3, float y3, std::int32_t colour = 0);
std::shared_ptr<Kreis> kreis(float x, float y, float radius, std::int32_t colour = 0);
std::shared_ptr<Text> text(float x, float y, const QString &text, const QString &font = QString(),
                           std::int32_t size = 0);

struct Kind
{
    // The class, its name, and its properties taken apart for DrawingText.
    const std::type_info &type;
    QString name;
    DrawingText::Shape (*parts)(const Basisklasse &shape);
    // The object name of its menu item in Zeichnen.
    QString menuItem;
    // Whether the item arms the tool at once; the text tool asks for the text first.
    bool armsTool;
    // The sample: placed by these clicks (in pixels) with the item's tool, it has these
    // coordinates (DrawingText's order) and sets at least these pixels.
    QList<QPoint> clicks;
    QList<float> coordinates;
    QList<QPoint> painted;
    // The sample made directly, in colour 0 (a text's text is "Probe").
    std::shared_ptr<Basisklasse> (*sample)();
    // The entities the writer writes for it, and what the reader places from them, as
    // RecordingDxfTarget records it.
    QList<QByteArray> dxfEntities;
    QStringList read;
    // What ezdxf reads from those entities, one JSON object each: "type" and the attributes that
    // must have these values (a point's coordinates as far as given; y points up in DXF).
    QList<QByteArray> ezdxf;
    // How far coordinate i of a shape of this kind may move when it is written and read again, as
    // the writer may turn it into others (a radius into a point on the edge); none: not at all.
    float (*dxfSlack)(const QList<float> &coordinates, qsizetype i) = nullptr;
};

// In the order of their items in the Zeichnen menu, which the real-window test reads from here.
const QList<Kind> &all();

} // namespace ShapeKinds
