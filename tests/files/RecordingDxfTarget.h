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

    void PaintPunkt(const float &x, const float &y) override { place("Punkt", {x, y}, 1); }
    void PaintLinie(const float &x1, const float &y1, const float &x2, const float &y2,
                    const std::int16_t &mode) override
    {
        place("Linie", {x1, y1, x2, y2}, mode);
    }
    void PaintKreis(const float &x1, const float &y1, const float &x2, const float &y2,
                    const std::int16_t &mode) override
    {
        place("Kreis", {x1, y1, x2, y2}, mode);
    }
    void PaintText(const float &x, const float &y, const QString &text, const std::int16_t &mode) override
    {
        place("Text", {x, y}, mode, QLatin1Char('[') + text + QLatin1Char(']'));
    }

private:
    void place(const char *kind, std::initializer_list<float> values, std::int16_t mode,
               const QString &text = QString())
    {
        if (beforePlacing)
            beforePlacing(QLatin1String(kind));
        QStringList parts{QLatin1String(kind)};
        for (float v : values)
            parts << DrawingText::number(v);
        if (!text.isEmpty())
            parts << text;
        parts << QStringLiteral("c%1").arg(lColor);
        // Every shape read is placed for good, never drawn as a rubber band.
        if (mode != 1)
            parts << QStringLiteral("mode%1").arg(mode);
        placed << parts.join(QLatin1Char(' '));
    }
};
