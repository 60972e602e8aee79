#include "dialogs/Form.h"

#include <QCloseEvent>
#include <QPushButton>

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

QPushButton *Form::button(const QString &caption, const char *name, QWidget *parent, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    // In a dialog a push button becomes the default button when it has the focus unless told otherwise.
    b->setAutoDefault(false);
    b->setDefault(false);
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

void Form::keyPressEvent(QKeyEvent *event)
{
    // Skips QDialog's handling, which would press a default button on Enter and reject on Escape.
    QWidget::keyPressEvent(event);
}
