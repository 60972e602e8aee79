#include "window/DrawingCanvas.h"

#include "window/frmZeichnen.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The Button or Shift argument of the window's mouse handlers: bits 1, 2 and 4 from Qt's flags.
template <typename Flags, typename Flag = typename Flags::enum_type>
std::int16_t stateBits(Flags flags, Flag one, Flag two, Flag four)
{
    return static_cast<std::int16_t>((flags & one ? 1 : 0) | (flags & two ? 2 : 0) | (flags & four ? 4 : 0));
}

} // namespace

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

void DrawingCanvas::passOn(const QMouseEvent &event, Qt::MouseButtons buttons, MouseHandler handler)
{
    const QPoint position = event.position().toPoint();
    const QLabel *label = m_window.label();
    if (label->isVisible() && label->geometry().contains(position))
        return;
    (m_window.*handler)(stateBits(buttons, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton),
                        stateBits(event.modifiers(), Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier),
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
