#pragma once
// Makes the DXF file of a drawing of a given number of shapes, of all five kinds, with the editor's writer.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class Basisklasse;
class ObjectData;

class DrawingGenerator
{
public:
    // The same drawing for the same count: shapes as a user places them with the mouse, at whole
    // pixels, mostly inside the window and a tenth beyond its edges, in the order point, line,
    // rectangle, circle, text. Second clicks lie within 200 pixels of the first for a line, within
    // 133 × 100 pixels for a rectangle and 100 × 100 pixels for a circle; texts read "Text 123".
    // A rectangle is written as four lines, so the file holds more entities than shapes.
    static QByteArray dxf(std::int32_t shapeCount);

    // How many shapes reading the file back gives.
    static std::int32_t shapesAfterReading(std::int32_t shapeCount);

    // Drawings of one hard kind each, placed like the texts and circles above:
    // texts of a few words with combining accents, Hebrew and Arabic, about `bytes` of file;
    static QByteArray mixedScriptTexts(std::int64_t bytes);
    // short labels of three to six CJK characters drawn from `distinct` ones;
    static QByteArray cjkLabels(std::int32_t labels, std::int32_t distinct);
    // circles of radius 3,500 to 4,500 pixels whose outline crosses the window.
    static QByteArray largeCircles(std::int32_t circles);

    // Drawings of a million shapes or more that are hard for the repaint, the index or Undo:
    // circles of radius 19,000 to 21,000 pixels about the window's centre, their outline far outside;
    static QByteArray centredCircles(std::int32_t circles);
    // circles of radius 10^6 pixels whose arc reaches 1 to 16 pixels into the window's left edge;
    static QByteArray edgeArcs(std::int32_t circles);
    // texts "Text 123" anywhere in the window;
    static QByteArray scatteredTexts(std::int32_t texts);
    // points on random pixels of the window, so that a few of its pixels stay free.
    static QByteArray evenPoints(std::int32_t points);

private:
    static QByteArray written(const ObjectData &drawing);
    // `count` shapes made by make(x, y, number, colour) on random pixels of the window.
    static QByteArray scattered(std::uint32_t seed, std::int32_t count,
                                const std::function<std::shared_ptr<Basisklasse>(float, float, std::int32_t, std::int32_t)> &make);
    static void addText(ObjectData &drawing, float x, float y, const QString &text);
};
