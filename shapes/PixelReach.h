#pragma once
// How a surface maps what shapes draw to its pixels, for a repaint that asks shapes where they reach.

#include <QPointF>
#include <QRect>
#include <QString>
#include <initializer_list>

// Boxes of pixels, clipped to the surface, empty when nothing of the figure lies on it.
class PixelReach
{
public:
    virtual ~PixelReach() = default;

    // What points, lines and outlines through the points (in twips) may set, each point grown by
    // margin twips on every side. Points that are not finite draw nothing and are left out.
    virtual QRect pointsReach(std::initializer_list<QPointF> points, double margin) const = 0;
    // What Print sets with the text position at (x, y): the ink of every glyph, marks stacked
    // above or below the line included.
    virtual QRect textReach(const QString &text, float x, float y) const = 0;
    // What the outline of a circle (centre and radius in twips) sets: where the centre lies
    // beyond an edge, only the arcs that face the surface reach into it.
    virtual QRect circleReach(float x, float y, float radius) const = 0;
    // Whether the outline of a circle (centre and radius in twips) may set a pixel of the area:
    // false only when it surely sets none there.
    virtual bool outlineMeets(float x, float y, float radius, const QRect &area) const = 0;
};
