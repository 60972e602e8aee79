#include "dialogs/frmDrehen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmDrehen::frmDrehen(QWidget *parent)
    : Form(QStringLiteral("frmDrehen"), QStringLiteral("Drehwinkel"), OnClose::Discard, parent)
{
    setFixedSize(px(3825), px(1290));

    // The OK button has no effect: the angle is never read.
    cmdOK = button(QStringLiteral("OK"), "cmdOK", this, twips(840, 720, 975, 375));
    cmdAbbrechen = button(QStringLiteral("Abbrechen"), "cmdAbbrechen", this, twips(2160, 720, 975, 375));

    txtAngle = control<QLineEdit>("txtAngle", this, twips(2400, 240, 975, 285));
    Label1 = label(QStringLiteral("Drehwinkel (-360° - 360°) "), "Label1", this, twips(240, 240, 1815, 255));

    connect(cmdAbbrechen, &QPushButton::clicked, this, &QDialog::close);
}
