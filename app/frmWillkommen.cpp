#include "app/frmWillkommen.h"

#include "app/Logo.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {

// Twips to pixels at 96 dots per inch.
constexpr int px(int twips)
{
    return twips / 15;
}

} // namespace

frmWillkommen::frmWillkommen(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmWillkommen"));
    setWindowTitle(QString());
    setFixedSize(px(6195), px(4290));

    FrameSkizzar = new QFrame(this);
    FrameSkizzar->setObjectName(QStringLiteral("FrameSkizzar"));
    FrameSkizzar->setFrameShape(QFrame::Box);
    FrameSkizzar->setFrameShadow(QFrame::Sunken);
    FrameSkizzar->setGeometry(px(120), px(120), px(5895), px(3975));

    Label1 = new QLabel(QStringLiteral("Das ultimative CAD Programm"), FrameSkizzar);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPointSizeF(15.75);
    labelFont.setBold(true);
    Label1->setFont(labelFont);
    Label1->setGeometry(px(720), px(3120), px(4695), px(615));

    pctBox1 = new QLabel(FrameSkizzar);
    pctBox1->setObjectName(QStringLiteral("pctBox1"));
    pctBox1->setGeometry(px(720), px(360), px(4455), px(2655));
    pctBox1->setAutoFillBackground(true);
    pctBox1->setBackgroundRole(QPalette::Base);
    // Drawn from the top-left corner and cut off at the box's edges.
    pctBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pctBox1->setScaledContents(false);
    pctBox1->setPixmap(QPixmap::fromImage(Logo::create()));

    cmdWeiter = new QPushButton(QStringLiteral("Weiter"), this);
    cmdWeiter->setObjectName(QStringLiteral("cmdWeiter"));
    cmdWeiter->setGeometry(px(4080), px(3600), px(1815), px(375));
    cmdWeiter->setAutoDefault(false);
    cmdWeiter->setDefault(false);
    cmdWeiter->raise();
    connect(cmdWeiter, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(Label1, pctBox1);
    setTabOrder(pctBox1, cmdWeiter);

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
