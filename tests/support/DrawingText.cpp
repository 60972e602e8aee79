#include "support/DrawingText.h"

#include "support/ShapeKinds.h"

#include <algorithm>
#include <typeinfo>

namespace DrawingText {

Shape parts(const Basisklasse &shape)
{
    // The exact class: a copy must be of the class of its source, not of a class derived from it.
    for (const ShapeKinds::Kind &kind : ShapeKinds::all()) {
        if (typeid(shape) == kind.type) {
            Shape s = kind.parts(shape);
            s.kind = kind.name;
            return s;
        }
    }
    Shape s;
    s.kind = typeid(shape) == typeid(Basisklasse) ? QStringLiteral("Basisklasse") : QStringLiteral("other");
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

QByteArray pointsDxf(int count)
{
    QByteArray text = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
    for (int i = 0; i < count; ++i)
        text += "0\r\nPOINT\r\n10\r\n" + QByteArray::number(i) + "\r\n20\r\n-1\r\n";
    return text + "0\r\nENDSEC\r\n0\r\nEOF\r\n";
}

QByteArray dxfLines(const QList<QByteArray> &items, const QByteArray &end)
{
    QByteArray out;
    for (const QByteArray &item : items)
        out += item + end;
    return out;
}

QByteArray entitiesDxf(const QList<QByteArray> &items)
{
    return dxfLines({"0", "SECTION", "2", "ENTITIES"}) + dxfLines(items) + dxfLines({"0", "ENDSEC", "0", "EOF"});
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
