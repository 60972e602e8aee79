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

    FrameSkizzar = new QFrame(this);
    FrameSkizzar->setObjectName(QStringLiteral("FrameSkizzar"));
    FrameSkizzar->setFrameShape(QFrame::Box);
    FrameSkizzar->setFrameShadow(QFrame::Sunken);
    FrameSkizzar->setGeometry(twips(120, 120, 5895, 3975));

    Label1 = new QLabel(QStringLiteral("Das ultimative CAD Programm"), FrameSkizzar);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPointSizeF(15.75);
    labelFont.setBold(true);
    Label1->setFont(labelFont);
    Label1->setGeometry(twips(720, 3120, 4695, 615));
    fitCaption(Label1);

    pctBox1 = new QLabel(FrameSkizzar);
    pctBox1->setObjectName(QStringLiteral("pctBox1"));
    pctBox1->setGeometry(twips(720, 360, 4455, 2655));
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
