#include "dialogs/frmText.h"

#include "window/frmZeichnen.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

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

frmText::frmText(frmZeichnen &window, QWidget *parent)
    : QDialog(parent), m_window(window)
{
    setObjectName(QStringLiteral("frmText"));
    setWindowTitle(QStringLiteral("Form1"));
    QFont defaultFont(QStringLiteral("MS Sans Serif"));
    defaultFont.setStyleHint(QFont::SansSerif);
    defaultFont.setPointSizeF(8.25);
    setFont(defaultFont);
    resize(px(5805), px(2760));

    // Controls are created in tab order, which makes it the focus chain.
    Text1 = new QLineEdit(QStringLiteral("Hier Text eingeben"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(px(120), px(120), px(5535), px(1935));
    // Any text is accepted as typed, however long.
    Text1->setMaxLength(std::numeric_limits<int>::max());

    cmdOK = plainButton(QStringLiteral("OK"), "cmdOK", this);
    cmdOK->setGeometry(px(4080), px(2160), px(1455), px(375));
    cmdNotOk = plainButton(QStringLiteral("Abbrechen"), "cmdNotOk", this);
    cmdNotOk->setGeometry(px(120), px(2160), px(1455), px(435));


    connect(cmdOK, &QPushButton::clicked, this, &frmText::cmdOK_Click);
    connect(cmdNotOk, &QPushButton::clicked, this, &frmText::cmdNotOk_Click);
}

void frmText::cmdOK_Click()
{
    const QString text = Text1->text();
    if (!text.isEmpty()) {
        m_window.iPaintMode = 8;
        m_window.tmpText = text;
        Text1->setText(QString());
        m_window.setMousePointer(2);
    } else {
        m_window.iPaintMode = 0;
    }
    hide();
}

void frmText::cmdNotOk_Click()
{
    hide();
}

void frmText::closeEvent(QCloseEvent *event)
{
    m_discarded = true;
    deleteLater();
    QDialog::closeEvent(event);
}

void frmText::keyPressEvent(QKeyEvent *event)
{
    // Skips QDialog's handling, which would press a default button on Enter and reject on Escape.
    QWidget::keyPressEvent(event);
}
