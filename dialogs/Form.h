#pragma once
// Base of the small windows: laid out in twips, with no default or cancel button.

#include "platform/RasterSurface.h"

#include <QDialog>
#include <QFont>
#include <QRect>

class QLabel;
class QPushButton;

// Enter and Escape trigger no button. A form that discards itself on closing (its frame's close
// button, or close()) is deleted afterwards; its owner asks isDiscarded() before showing it again.
class Form : public QDialog
{
    Q_OBJECT

public:
    enum class OnClose {
        Keep,
        Discard
    };

    // Twips to pixels at 96 dots per inch.
    static constexpr int px(int twips) { return twips / RasterSurface::TwipsPerPixel; }
    static QRect twips(int x, int y, int width, int height)
    {
        return {px(x), px(y), px(width), px(height)};
    }
    // The classic dialog font; the platform substitutes a sans-serif one.
    static QFont sansSerif(qreal pointSize, bool bold = false);
    // Fits a label's caption whole into the label's box: the substituted fonts run wider than
    // the classic ones, so the font is narrowed and then made smaller until the text fits. The
    // caption stands at the top left, as a classic label draws it.
    static void fitCaption(QLabel *label);
    // A control with its object name, by which tests find it, at its place in parent; args go to
    // its constructor before the parent. Forms make their controls in tab order: the focus chain.
    template <typename Widget, typename... Args>
    static Widget *control(const char *name, QWidget *parent, const QRect &geometry, const Args &...args)
    {
        auto *widget = new Widget(args..., parent);
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(geometry);
        return widget;
    }
    // A label whose caption is fitted into its box in the form's font.
    static QLabel *label(const QString &caption, const char *name, QWidget *parent, const QRect &geometry);

    bool isDiscarded() const { return m_discarded; }

protected:
    Form(const QString &objectName, const QString &caption, OnClose onClose, QWidget *parent,
         Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                 | Qt::WindowCloseButtonHint);

    // A push button that never becomes the default button.
    static QPushButton *button(const QString &caption, const char *name, QWidget *parent,
                               const QRect &geometry);

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    OnClose m_onClose;
    bool m_discarded = false;
};
