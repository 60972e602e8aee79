#pragma once
// A drawing surface that records every call, for checking what shapes draw and in which order.

#include "shapes/DrawingSurface.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <optional>

class RecordingSurface : public DrawingSurface
{
public:
    struct Call
    {
        enum Kind {
            PSet,
            Line,
            Circle,
            Print,
            SetBackColor,
            SetForeColor,
            SetDrawMode
        };
        Kind kind = PSet;
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0; // PSet: x1,y1; Circle: x1,y1 and radius in x2
        std::int32_t color = 0;               // PSet, Line: the colour; others: ForeColor at the call
        std::int16_t drawMode = 0;            // DrawMode in force at the call
        QString text;                         // Print
        bool operator==(const Call &) const = default;
    };

    static Call line(float x1, float y1, float x2, float y2, std::int32_t color, std::int16_t mode);
    // The Line calls that go round each group of four corners, back to the group's first corner.
    static QList<Call> squares(const QList<QPointF> &corners, std::int32_t color, std::int16_t mode);

    std::int16_t getDrawMode() const override { return m_drawMode; }
    void setDrawMode(std::int16_t mode) override;
    std::int32_t getForeColor() const override { return m_foreColor; }
    void setForeColor(std::int32_t color) override;
    std::int32_t getBackColor() const override { return m_backColor; }
    void setBackColor(std::int32_t color) override;
    void setCurrentX(float x) override { m_currentX = x; }
    void setCurrentY(float y) override { m_currentY = y; }
    void PSet(float x, float y, std::int32_t color) override;
    void Line(float x1, float y1, float x2, float y2, std::int32_t color) override;
    void Circle(float x, float y, float radius) override;
    void Print(const QString &text) override;
    float TextWidth(const QString &text) const override;

    // Width that TextWidth reports per character, in twips.
    float charWidth = 90.0f;
    // Whether setDrawMode and setForeColor are recorded as calls too.
    bool recordStateChanges = false;

    QList<Call> calls;
    // Only the Line calls, in order.
    QList<Call> lines() const;

private:
    std::int16_t m_drawMode = 13;
    std::int32_t m_foreColor = 0;
    std::int32_t m_backColor = 0xFFFFFF;
    float m_currentX = 0;
    float m_currentY = 0;
};
