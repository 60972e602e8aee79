#include "dialogs/frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace {

// Twips to pixels at 96 dots per inch.
constexpr int px(int twips)
{
    return twips / 15;
}

QFont sansSerif(qreal pointSize, bool bold = false)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Skizzar"));
    setFont(sansSerif(8.25));
    setFixedSize(px(4875), px(4755));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(grey);
    setAutoFillBackground(true);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    Frame1->setGeometry(px(120), px(120), px(4575), px(4572));

    Label1 = new QLabel(QStringLiteral("Skizzar Win32 - Anwendung"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(sansSerif(13.5, true));
    Label1->setGeometry(px(120), px(240), px(4335), px(495));

    cmdOK = new QPushButton(QStringLiteral("OK"), Frame1);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(px(1680), px(4080), px(1215), px(375));
    cmdOK->setAutoDefault(false);
    cmdOK->setDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // Skips QDialog's handling, which would press a default button on Enter and reject on Escape.
    QWidget::keyPressEvent(event);
}
