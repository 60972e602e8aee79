#include "dialogs/frmDrehen.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Twips to pixels at 96 dots per inch.
constexpr int px(int twips)
{
    return twips / 15;
}

QPushButton *plainButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    // In a dialog a push button becomes the default button when it has the focus unless told otherwise.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

frmDrehen::frmDrehen(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmDrehen"));
    setWindowTitle(QStringLiteral("Drehwinkel"));
    QFont defaultFont(QStringLiteral("MS Sans Serif"));
    defaultFont.setStyleHint(QFont::SansSerif);
    defaultFont.setPointSizeF(8.25);
    setFont(defaultFont);
    setFixedSize(px(3825), px(1290));

    // Controls are created in tab order, which makes it the focus chain.
    // The OK button has no effect: the angle is never read.
    cmdOK = plainButton(QStringLiteral("OK"), "cmdOK", this);
    cmdOK->setGeometry(px(840), px(720), px(975), px(375));
    cmdAbbrechen = plainButton(QStringLiteral("Abbrechen"), "cmdAbbrechen", this);
    cmdAbbrechen->setGeometry(px(2160), px(720), px(975), px(375));

    txtAngle = new QLineEdit(this);
    txtAngle->setObjectName(QStringLiteral("txtAngle"));
    txtAngle->setGeometry(px(2400), px(240), px(975), px(285));

    Label1 = new QLabel(QStringLiteral("Drehwinkel (-360° - 360°) "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(px(240), px(240), px(1815), px(255));


    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::close);
}

void frmDrehen::closeEvent(QCloseEvent *event)
{
    m_discarded = true;
    deleteLater();
    QDialog::closeEvent(event);
}

void frmDrehen::keyPressEvent(QKeyEvent *event)
{
    // Skips QDialog's handling, which would press a default button on Enter and reject on Escape.
    QWidget::keyPressEvent(event);
}
