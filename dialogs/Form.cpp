#include "dialogs/Form.h"

#include "platform/WindowFrame.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

Form::Form(const QString &objectName, const QString &caption, OnClose onClose, QWidget *parent,
           Qt::WindowFlags flags)
    : QDialog(parent, flags), m_onClose(onClose)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setFont(sansSerif(8.25));
}

QFont Form::sansSerif(qreal pointSize, bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void Form::fitCaption(QLabel *label)
{
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QSize box = label->contentsRect().size();
    QFont font = label->font();
    auto fits = [&] {
        const QFontMetrics metrics(font);
        const QRect ink = metrics.boundingRect(label->text());
        return std::max(ink.right() + 1, metrics.horizontalAdvance(label->text())) <= box.width()
               && metrics.height() <= box.height();
    };
    if (!fits())
        font.setStretch(QFont::SemiCondensed);
    while (!fits() && font.pointSizeF() > 4.0)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
}

QLabel *Form::label(const QString &caption, const char *name, QWidget *parent, const QRect &geometry)
{
    auto *l = control<QLabel>(name, parent, geometry, caption);
    fitCaption(l);
    return l;
}

QPushButton *Form::button(const QString &caption, const char *name, QWidget *parent, const QRect &geometry)
{
    auto *b = control<QPushButton>(name, parent, geometry, caption);
    // In a dialog a push button becomes the default button when it has the focus unless told otherwise.
    b->setAutoDefault(false);
    return b;
}

void Form::closeEvent(QCloseEvent *event)
{
    if (m_onClose == OnClose::Discard) {
        m_discarded = true;
        deleteLater();
    }
    QDialog::closeEvent(event);
}

void Form::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Qt shows the application's name in a frame whose caption is empty.
    if (windowTitle().isEmpty())
        WindowFrame::clearCaption(*this);
}

void Form::keyPressEvent(QKeyEvent *event)
{
    // Skips QDialog's handling, which would press a default button on Enter and reject on Escape.
    QWidget::keyPressEvent(event);
}
