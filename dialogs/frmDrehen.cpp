#include "dialogs/frmDrehen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmDrehen::frmDrehen(QWidget *parent)
    : Form(QStringLiteral("frmDrehen"), QStringLiteral("Drehwinkel"), OnClose::Discard, parent)
{
    setFixedSize(px(3825), px(1290));

    // Controls are created in tab order, which makes it the focus chain.
    // The OK button has no effect: the angle is never read.
    cmdOK = button(QStringLiteral("OK"), "cmdOK", this, twips(840, 720, 975, 375));
    cmdAbbrechen = button(QStringLiteral("Abbrechen"), "cmdAbbrechen", this, twips(2160, 720, 975, 375));

    txtAngle = new QLineEdit(this);
    txtAngle->setObjectName(QStringLiteral("txtAngle"));
    txtAngle->setGeometry(twips(2400, 240, 975, 285));

    Label1 = new QLabel(QStringLiteral("Drehwinkel (-360° - 360°) "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twips(240, 240, 1815, 255));
    fitCaption(Label1);

    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::close);
}
