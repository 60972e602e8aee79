#include "RecordingSurface.h"

RecordingSurface::Call RecordingSurface::line(float x1, float y1, float x2, float y2,
                                              std::int32_t color, std::int16_t mode)
{
    Call c;
    c.kind = Call::Line;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.color = color;
    c.drawMode = mode;
    return c;
}

QList<RecordingSurface::Call> RecordingSurface::squares(const QList<QPointF> &corners, std::int32_t color,
                                                        std::int16_t mode)
{
    QList<Call> result;
    for (qsizetype i = 0; i < corners.size(); ++i) {
        const QPointF to = corners[i % 4 == 3 ? i - 3 : i + 1];
        result << line(corners[i].x(), corners[i].y(), to.x(), to.y(), color, mode);
    }
    return result;
}

void RecordingSurface::setDrawMode(std::int16_t mode)
{
    m_drawMode = mode;
    if (recordStateChanges) {
        Call c;
        c.kind = Call::SetDrawMode;
        c.drawMode = mode;
        calls.append(c);
    }
}

void RecordingSurface::setForeColor(std::int32_t color)
{
    m_foreColor = color;
    if (recordStateChanges) {
        Call c;
        c.kind = Call::SetForeColor;
        c.color = color;
        c.drawMode = m_drawMode;
        calls.append(c);
    }
}

void RecordingSurface::setBackColor(std::int32_t color)
{
    m_backColor = color;
    Call c;
    c.kind = Call::SetBackColor;
    c.color = color;
    c.drawMode = m_drawMode;
    calls.append(c);
}

void RecordingSurface::PSet(float x, float y, std::int32_t color)
{
    Call c;
    c.kind = Call::PSet;
    c.x1 = x;
    c.y1 = y;
    c.color = color;
    c.drawMode = m_drawMode;
    calls.append(c);
}

void RecordingSurface::Line(float x1, float y1, float x2, float y2, std::int32_t color)
{
    calls.append(line(x1, y1, x2, y2, color, m_drawMode));
}

void RecordingSurface::Circle(float x, float y, float radius)
{
    Call c;
    c.kind = Call::Circle;
    c.x1 = x;
    c.y1 = y;
    c.x2 = radius;
    c.color = m_foreColor;
    c.drawMode = m_drawMode;
    calls.append(c);
}

void RecordingSurface::Print(const QString &text)
{
    Call c;
    c.kind = Call::Print;
    c.x1 = m_currentX;
    c.y1 = m_currentY;
    c.color = m_foreColor;
    c.drawMode = m_drawMode;
    c.text = text;
    calls.append(c);
}

float RecordingSurface::TextWidth(const QString &text) const
{
    return charWidth * static_cast<float>(text.size());
}

QList<RecordingSurface::Call> RecordingSurface::lines() const
{
    QList<Call> result;
    for (const Call &c : calls)
        if (c.kind == Call::Line)
            result.append(c);
    return result;
}
