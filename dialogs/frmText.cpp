#include "dialogs/frmText.h"

#include "window/frmZeichnen.h"

#include <QLineEdit>
#include <QPushButton>
#include <limits>

frmText::frmText(frmZeichnen &window, QWidget *parent)
    : Form(QStringLiteral("frmText"), QStringLiteral("Form1"), OnClose::Discard, parent, Qt::Dialog),
      m_window(window)
{
    resize(px(5805), px(2760));

    Text1 = control<QLineEdit>("Text1", this, twips(120, 120, 5535, 1935), QStringLiteral("Hier Text eingeben"));
    // Any text is accepted as typed, however long.
    Text1->setMaxLength(std::numeric_limits<int>::max());

    cmdOK = button(QStringLiteral("OK"), "cmdOK", this, twips(4080, 2160, 1455, 375));
    cmdNotOk = button(QStringLiteral("Abbrechen"), "cmdNotOk", this, twips(120, 2160, 1455, 435));

    connect(cmdOK, &QPushButton::clicked, this, &frmText::cmdOK_Click);
    connect(cmdNotOk, &QPushButton::clicked, this, &QWidget::hide);
}

void frmText::setVisible(bool visible)
{
    if (visible)
        Text1->setFocus();
    Form::setVisible(visible);
    // Showing a dialog focuses its focus widget as a Tab would, which selects a text box's text.
    if (visible)
        Text1->deselect();
}

void frmText::cmdOK_Click()
{
    const QString text = Text1->text();
    if (!text.isEmpty()) {
        m_window.iPaintMode = PaintMode::TextTool;
        m_window.tmpText = text;
        Text1->setText(QString());
        m_window.setMousePointer(MousePointer::CrossHair);
    } else {
        m_window.iPaintMode = PaintMode::NoTool;
    }
    hide();
}
