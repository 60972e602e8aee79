#pragma once
// Stands in for the drawing window in reader tests: keeps the working members and records every
// placement as one line of text, each float to nine digits so that comparisons are exact.

#include "files/DxfTarget.h"
#include "support/DrawingText.h"

#include <QStringList>
#include <functional>
#include <initializer_list>

class RecordingDxfTarget : public DxfTarget
{
public:
    float sStartX = 0, sStartY = 0, sLastX = 0, sLastY = 0;
    std::int32_t lColor = 0;
    // "Punkt x y cC", "Linie x1 y1 x2 y2 cC", "Kreis x1 y1 x2 y2 cC", "Text x y [text] cC".
    QStringList placed;
    // Runs before a placement is recorded; may throw as a real placement can.
    std::function<void(const QString &kind)> beforePlacing;

    float getStartX() const override { return sStartX; }
    void setStartX(float v) override { sStartX = v; }
    float getStartY() const override { return sStartY; }
    void setStartY(float v) override { sStartY = v; }
    float getLastX() const override { return sLastX; }
    void setLastX(float v) override { sLastX = v; }
    float getLastY() const override { return sLastY; }
    void setLastY(float v) override { sLastY = v; }
    void setColor(std::int32_t v) override { lColor = v; }

    void place(const ShapeKind &kind, const ShapePlacement &p) override
    {
        if (beforePlacing)
            beforePlacing(QLatin1String(kind.name));
        QStringList parts{QLatin1String(kind.name)};
        for (float v : kind.clicks == 2 ? QList<float>{p.x1, p.y1, p.x2, p.y2} : QList<float>{p.x1, p.y1})
            parts << DrawingText::number(v);
        if (!p.text.isEmpty())
            parts << QLatin1Char('[') + p.text + QLatin1Char(']');
        parts << QStringLiteral("c%1").arg(lColor);
        placed << parts.join(QLatin1Char(' '));
    }
};
