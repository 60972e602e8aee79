#include "dialogs/frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

frmAbout::frmAbout(QWidget *parent)
    : Form(QStringLiteral("frmAbout"), QStringLiteral("About Skizzar"), OnClose::Keep, parent)
{
    setFixedSize(px(4875), px(4755));
    // The grey is fixed, so is the text on it: a dark theme's light text would be unreadable there.
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    grey.setColor(QPalette::WindowText, Qt::black);
    setPalette(grey);
    setAutoFillBackground(true);

    Frame1 = control<QFrame>("Frame1", this, twips(120, 120, 4575, 4572));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);

    Label1 = control<QLabel>("Label1", Frame1, twips(120, 240, 4335, 495), QStringLiteral("Skizzar Win32 - Anwendung"));
    Label1->setFont(sansSerif(13.5, true));

    cmdOK = button(QStringLiteral("OK"), "cmdOK", Frame1, twips(1680, 4080, 1215, 375));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
}
