#include "window/DrawingCanvas.h"

#include "window/frmZeichnen.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

DrawingCanvas::DrawingCanvas(frmZeichnen &window)
    : QWidget(&window), m_window(window)
{
    setObjectName(QStringLiteral("DrawingCanvas"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

QSize DrawingCanvas::sizeHint() const
{
    return {frmZeichnen::ClientWidthTwips / RasterSurface::TwipsPerPixel,
            frmZeichnen::ClientHeightTwips / RasterSurface::TwipsPerPixel};
}

std::int16_t DrawingCanvas::buttonState(Qt::MouseButtons buttons)
{
    return static_cast<std::int16_t>(((buttons & Qt::LeftButton) ? 1 : 0)
                                     | ((buttons & Qt::RightButton) ? 2 : 0)
                                     | ((buttons & Qt::MiddleButton) ? 4 : 0));
}

std::int16_t DrawingCanvas::shiftState(Qt::KeyboardModifiers modifiers)
{
    return static_cast<std::int16_t>(((modifiers & Qt::ShiftModifier) ? 1 : 0)
                                     | ((modifiers & Qt::ControlModifier) ? 2 : 0)
                                     | ((modifiers & Qt::AltModifier) ? 4 : 0));
}

void DrawingCanvas::paintEvent(QPaintEvent *event)
{
    // Showing the buffer only copies pixels; the document is drawn into the buffer elsewhere.
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area, m_window.surface().image(), area);
}

void DrawingCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_window.resizeSurface(event->size());
}

bool DrawingCanvas::overLabel(const QPoint &position) const
{
    const QLabel *label = m_window.label();
    return label->isVisible() && label->geometry().contains(position);
}

void DrawingCanvas::passOn(const QMouseEvent &event, Qt::MouseButtons buttons, MouseHandler handler)
{
    const QPoint position = event.position().toPoint();
    if (overLabel(position))
        return;
    (m_window.*handler)(buttonState(buttons), shiftState(event.modifiers()),
                        static_cast<float>(position.x() * RasterSurface::TwipsPerPixel),
                        static_cast<float>(position.y() * RasterSurface::TwipsPerPixel));
}

// Released, the one button released is passed on; moving, every button held.
void DrawingCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    passOn(*event, event->button(), &frmZeichnen::Form_MouseUp);
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent *event)
{
    passOn(*event, event->buttons(), &frmZeichnen::Form_MouseMove);
}
