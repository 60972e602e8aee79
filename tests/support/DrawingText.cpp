#include "support/DrawingText.h"

#include "shapes/Kreis.h"
#include "shapes/Linie.h"
#include "shapes/Punkt.h"
#include "shapes/Rechteck.h"
#include "shapes/Text.h"

#include <algorithm>
#include <typeinfo>

namespace DrawingText {

Shape parts(const Basisklasse &shape)
{
    Shape s;
    // The properties every shape class has, and the coordinates that follow X1 and Y1.
    auto common = [&s](const char *kind, const auto &c, const QList<float> &more) {
        s = Shape{QLatin1String(kind), QList<float>{c.getX1(), c.getY1()} + more, c.getColor(), {}, {}, 0,
                  c.getSelected()};
    };
    // The exact class: a copy must be of the class of its source, not of a class derived from it.
    const std::type_info &type = typeid(shape);
    if (type == typeid(Punkt)) {
        common("Punkt", static_cast<const Punkt &>(shape), {});
    } else if (type == typeid(Linie)) {
        const auto &l = static_cast<const Linie &>(shape);
        common("Linie", l, {l.getX2(), l.getY2()});
    } else if (type == typeid(Rechteck)) {
        const auto &r = static_cast<const Rechteck &>(shape);
        common("Rechteck", r, {r.getX2(), r.getY2(), r.getX3(), r.getY3(), r.getX4(), r.getY4()});
    } else if (type == typeid(Kreis)) {
        const auto &k = static_cast<const Kreis &>(shape);
        common("Kreis", k, {k.getRadius()});
    } else if (type == typeid(Text)) {
        const auto &t = static_cast<const Text &>(shape);
        common("Text", t, {});
        s.text = t.getText();
        s.font = t.getFont();
        s.fontSize = t.getFontSize();
    } else {
        s.kind = type == typeid(Basisklasse) ? QStringLiteral("Basisklasse") : QStringLiteral("other");
    }
    return s;
}

bool Shape::operator==(const Shape &other) const
{
    return kind == other.kind && color == other.color && text == other.text && font == other.font
           && fontSize == other.fontSize && selected == other.selected
           && std::equal(coordinates.begin(), coordinates.end(), other.coordinates.begin(),
                         other.coordinates.end());
}

QString Shape::toString() const
{
    QStringList out{kind};
    for (const float v : coordinates)
        out << number(v);
    if (kind == QLatin1String("Text"))
        out << QLatin1Char('[') + text + QLatin1Char(']') << QLatin1Char('[') + font + QLatin1Char(']')
            << QString::number(fontSize);
    if (!coordinates.isEmpty())
        out << QStringLiteral("c%1").arg(color);
    if (selected)
        out << QStringLiteral("selected");
    return out.join(QLatin1Char(' '));
}

QString line(const Basisklasse &shape)
{
    return parts(shape).toString();
}

QStringList lines(const std::vector<std::shared_ptr<Basisklasse>> &shapes)
{
    QStringList out;
    for (const std::shared_ptr<Basisklasse> &shape : shapes)
        out << line(*shape);
    return out;
}

QString number(float value)
{
    return QString::number(double(value), 'g', 9);
}

char *toString(const Shape &shape)
{
    return qstrdup(shape.toString().toUtf8().constData());
}

} // namespace DrawingText
