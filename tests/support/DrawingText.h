#pragma once
// A drawing as text, to compare drawings in tests: one line per shape with its exact class, its
// coordinates in property order, its text, font and size, its colour and, when set, its selection.

#include "shapes/Basisklasse.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace DrawingText {

// One shape taken apart, for the tests that look at single properties.
struct Shape
{
    // "Punkt", "Linie", "Rechteck", "Kreis", "Text", "Basisklasse", or "other" for any other class.
    QString kind;
    // X1, Y1, then X2, Y2 (a line), X2 … Y4 (a rectangle) or the radius (a circle).
    QList<float> coordinates;
    std::int32_t color = 0;
    // A text shape's text, font name and font size.
    QString text;
    QString font;
    std::int32_t fontSize = 0;
    bool selected = false;

    // Coordinates compare as numbers (0 equals -0), not bit for bit as QList<float> would.
    bool operator==(const Shape &other) const;
    // "Linie 100.5 200 300 400 c255", "Text 50 60 [Grüße] [Arial] 12 c0 selected".
    QString toString() const;
};

Shape parts(const Basisklasse &shape);
QString line(const Basisklasse &shape);
QStringList lines(const std::vector<std::shared_ptr<Basisklasse>> &shapes);

// A DXF file of count points, the i-th at (i, 1).
QByteArray pointsDxf(int count);
// The items as lines of a DXF file, each followed by end.
QByteArray dxfLines(const QList<QByteArray> &items, const QByteArray &end = "\r\n");
// A DXF file of one ENTITIES section holding the items, CR LF lines.
QByteArray entitiesDxf(const QList<QByteArray> &items);

// A float to nine significant digits, which tells any two finite floats apart (0 and -0 excepted).
QString number(float value);

// For QCOMPARE's report of a difference.
char *toString(const Shape &shape);

} // namespace DrawingText
