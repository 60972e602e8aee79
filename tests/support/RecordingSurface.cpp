#include "RecordingSurface.h"

RecordingSurface::Call RecordingSurface::line(float x1, float y1, float x2, float y2,
                                              std::int32_t color, std::int16_t mode)
{
    return {Call::Line, x1, y1, x2, y2, color, mode, {}};
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
    if (recordStateChanges)
        calls.append({Call::SetDrawMode, 0, 0, 0, 0, 0, mode, {}});
}

void RecordingSurface::setForeColor(std::int32_t color)
{
    m_foreColor = color;
    if (recordStateChanges)
        calls.append({Call::SetForeColor, 0, 0, 0, 0, color, m_drawMode, {}});
}

void RecordingSurface::setBackColor(std::int32_t color)
{
    m_backColor = color;
    calls.append({Call::SetBackColor, 0, 0, 0, 0, color, m_drawMode, {}});
}

void RecordingSurface::PSet(float x, float y, std::int32_t color)
{
    calls.append({Call::PSet, x, y, 0, 0, color, m_drawMode, {}});
}

void RecordingSurface::Line(float x1, float y1, float x2, float y2, std::int32_t color)
{
    calls.append(line(x1, y1, x2, y2, color, m_drawMode));
}

void RecordingSurface::Circle(float x, float y, float radius)
{
    calls.append({Call::Circle, x, y, radius, 0, m_foreColor, m_drawMode, {}});
}

void RecordingSurface::Print(const QString &text)
{
    calls.append({Call::Print, m_currentX, m_currentY, 0, 0, m_foreColor, m_drawMode, text});
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
