#include "app/frmWillkommen.h"

#include "app/Logo.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

frmWillkommen::frmWillkommen(QWidget *parent)
    : Form(QStringLiteral("frmWillkommen"), QString(), OnClose::Keep, parent)
{
    setFixedSize(px(6195), px(4290));

    FrameSkizzar = control<QFrame>("FrameSkizzar", this, twips(120, 120, 5895, 3975));
    FrameSkizzar->setFrameShape(QFrame::Box);
    FrameSkizzar->setFrameShadow(QFrame::Sunken);

    Label1 = control<QLabel>("Label1", FrameSkizzar, twips(720, 3120, 4695, 615), QStringLiteral("Das ultimative CAD Programm"));
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPointSizeF(15.75);
    labelFont.setBold(true);
    Label1->setFont(labelFont);
    fitCaption(Label1);

    pctBox1 = control<QLabel>("pctBox1", FrameSkizzar, twips(720, 360, 4455, 2655));
    pctBox1->setAutoFillBackground(true);
    pctBox1->setBackgroundRole(QPalette::Base);
    // Drawn from the top-left corner and cut off at the box's edges.
    pctBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pctBox1->setScaledContents(false);
    pctBox1->setPixmap(QPixmap::fromImage(Logo::create(devicePixelRatioF())));

    cmdWeiter = button(QStringLiteral("Weiter"), "cmdWeiter", this, twips(4080, 3600, 1815, 375));
    cmdWeiter->raise();
    connect(cmdWeiter, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(Label1, pctBox1);
    setTabOrder(pctBox1, cmdWeiter);

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
