#include "support/ShapeKinds.h"

#include <cmath>
#include <limits>

namespace ShapeKinds {

namespace {

// One unit in the last place of a 32-bit float of magnitude v.
float ulp(float v)
{
    v = std::abs(v);
    return std::nextafter(v, std::numeric_limits<float>::infinity()) - v;
}

// The properties every shape class has, and the coordinates that follow X1 and Y1.
template <typename T>
DrawingText::Shape common(const Basisklasse &shape, QList<float> (*more)(const T &))
{
    const auto &c = static_cast<const T &>(shape);
    return {QString(), QList<float>{c.getX1(), c.getY1()} + more(c), c.getColor(), {}, {}, 0, c.getSelected()};
}

// A shape as its kind's placement makes it.
template <typename T>
std::shared_ptr<T> placed(ShapePlacement placement, std::int32_t colour)
{
    placement.color = colour;
    return std::static_pointer_cast<T>(T::place(nullptr, placement));
}

DrawingText::Shape textParts(const Basisklasse &shape)
{
    DrawingText::Shape s = common<Text>(shape, [](const Text &) { return QList<float>(); });
    const auto &t = static_cast<const Text &>(shape);
    s.text = t.getText();
    s.font = t.getFont();
    s.fontSize = t.getFontSize();
    return s;
}

} // namespace

std::shared_ptr<Punkt> punkt(float x, float y, std::int32_t colour)
{
    return placed<Punkt>({x, y}, colour);
}

std::shared_ptr<Linie> linie(float x1, float y1, float x2, float y2, std::int32_t colour)
{
    return placed<Linie>({x1, y1, x2, y2}, colour);
}

std::shared_ptr<Rechteck> rechteck(float x1, float y1, float x3, float y3, std::int32_t colour)
{
    return placed<Rechteck>({x1, y1, x3, y3}, colour);
}

std::shared_ptr<Kreis> kreis(float x, float y, float radius, std::int32_t colour)
{
    auto k = std::make_shared<Kreis>();
    k->setX1(x);
    k->setY1(y);
    k->setRadius(radius);
    k->setColor(colour);
    return k;
}

std::shared_ptr<Text> text(float x, float y, const QString &text, const QString &font, std::int32_t size)
{
    ShapePlacement placement(x, y, 0, 0, text);
    placement.font = font;
    placement.fontSize = float(size);
    return placed<Text>(placement, 0);
}

const QList<Kind> &all()
{
    static const QList<Kind> kinds = {
        // clang-format off
        {typeid(Punkt), "Punkt", [](const Basisklasse &s) { return common<Punkt>(s, [](const Punkt &) { return QList<float>(); }); },
         "mnuPunkt", true, {{100, 80}}, {1500, 1200}, {{100, 80}},
         [] { return std::shared_ptr<Basisklasse>(punkt(1500, 1200)); }, {"POINT"}, {"Punkt 1500 1200 c0"},
         {R"({"type": "POINT", "location": [1500, -1200]})"}},
        {typeid(Linie), "Linie",
         [](const Basisklasse &s) { return common<Linie>(s, [](const Linie &l) { return QList<float>{l.getX2(), l.getY2()}; }); },
         "mnuLinie", true, {{60, 60}, {200, 120}}, {900, 900, 3000, 1800}, {{60, 60}, {130, 90}},
         [] { return std::shared_ptr<Basisklasse>(linie(900, 900, 3000, 1800)); }, {"LINE"},
         {"Linie 900 900 3000 1800 c0"}, {R"({"type": "LINE", "start": [900, -900], "end": [3000, -1800]})"}},
        {typeid(Rechteck), "Rechteck",
         [](const Basisklasse &s) {
             return common<Rechteck>(s, [](const Rechteck &r) {
                 return QList<float>{r.getX2(), r.getY2(), r.getX3(), r.getY3(), r.getX4(), r.getY4()};
             });
         },
         "mnuRechteck", true, {{40, 40}, {100, 70}}, {600, 600, 1500, 600, 1500, 1050, 600, 1050},
         {{40, 40}, {100, 40}, {100, 70}, {40, 70}},
         [] { return std::shared_ptr<Basisklasse>(rechteck(600, 600, 1500, 1050)); }, {"LINE", "LINE", "LINE", "LINE"},
         {"Linie 600 600 1500 600 c0", "Linie 1500 600 1500 1050 c0", "Linie 1500 1050 600 1050 c0",
          "Linie 600 1050 600 600 c0"},
         {R"({"type": "LINE", "start": [600, -600], "end": [1500, -600]})", R"({"type": "LINE", "start": [1500, -600], "end": [1500, -1050]})",
          R"({"type": "LINE", "start": [1500, -1050], "end": [600, -1050]})", R"({"type": "LINE", "start": [600, -1050], "end": [600, -600]})"}},
        {typeid(Kreis), "Kreis", [](const Basisklasse &s) { return common<Kreis>(s, [](const Kreis &k) { return QList<float>{k.getRadius()}; }); },
         "mnuKreis", true, {{200, 200}, {220, 215}}, {3000, 3000, 375}, {{225, 200}, {200, 175}},
         [] { return std::shared_ptr<Basisklasse>(kreis(3000, 3000, 375)); }, {"CIRCLE"},
         {"Kreis 3000 3000 3375 3000 c0"}, {R"({"type": "CIRCLE", "center": [3000, -3000], "radius": 375})"},
         // Read as a centre and a point on its edge, its radius comes back as the distance to that
         // point, which the sum centre + radius has rounded.
         [](const QList<float> &c, qsizetype i) { return i == 2 ? 2.0f * ulp(std::max(std::abs(c.at(0)), c.at(2))) : 0.0f; }},
        {typeid(Text), "Text", textParts, "mnuText", false, {{80, 100}}, {1200, 1500}, {},
         [] { return std::shared_ptr<Basisklasse>(text(1200, 1500, QStringLiteral("Probe"))); }, {"TEXT"},
         {"Text 1200 1500 [Probe] c0"}, {R"({"type": "TEXT", "insert": [1200, -1500], "text": "Probe"})"}},
        // clang-format on
    };
    return kinds;
}

} // namespace ShapeKinds
