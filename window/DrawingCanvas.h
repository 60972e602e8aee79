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

    static std::int16_t buttonCode(Qt::MouseButton button);
    static std::int16_t buttonState(Qt::MouseButtons buttons);
    static std::int16_t shiftState(Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // Whether a position lies over the label, which keeps what happens over its rectangle to itself.
    bool overLabel(const QPoint &position) const;

    frmZeichnen &m_window;
};
