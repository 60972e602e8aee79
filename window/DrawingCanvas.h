#pragma once
// The drawing area below the menu bar: shows the window's pixel buffer and passes the mouse on in twips.

#include <QWidget>

class frmZeichnen;

class DrawingCanvas : public QWidget
{
    Q_OBJECT

public:
    explicit DrawingCanvas(frmZeichnen &window);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    using MouseHandler = void (frmZeichnen::*)(std::int16_t, std::int16_t, float, float);
    // The event to the window in twips, unless it happens over the label.
    void passOn(const QMouseEvent &event, Qt::MouseButtons buttons, MouseHandler handler);

    frmZeichnen &m_window;
};
