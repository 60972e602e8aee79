// The Edit, Modify, Extras and Help commands of the main window, and the Text tool item.

#include "window/frmZeichnen.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmDrehen.h"
#include "dialogs/frmText.h"
#include "shapes/Rechteck.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QStringList>

void frmZeichnen::connectEditCommands()
{
    connectCommands({
        {mnuRueckgaengig, &frmZeichnen::mnuRueckgaengig_Click},
        {mnuKopieren, &frmZeichnen::mnuKopieren_Click},
        {mnuObjektfarbe, &frmZeichnen::mnuObjektfarbe_Click},
        {mnuZeichenfarbe, &frmZeichnen::mnuZeichenfarbe_Click},
        {mnuHintergrundfarbe, &frmZeichnen::mnuHintergrundfarbe_Click},
        {mnuTexteinstellung, &frmZeichnen::mnuTexteinstellung_Click},
        {mnuDrehen, &frmZeichnen::mnuDrehen_Click},
        {mnuUeberSkizzar, &frmZeichnen::mnuUeberSkizzar_Click},
        {mnuText, &frmZeichnen::mnuText_Click},
    });
}

void frmZeichnen::mnuRueckgaengig_Click()
{
    // Also switches the Undo item off, through the document's disabler. A copy that fails leaves
    // the copies made so far in the drawing, which is shown as it is before the error is.
    try {
        oObjectData->ReturnOldCollection();
    } catch (...) {
        m_repaint.drawReplaced(0);
        throw;
    }
    m_repaint.drawReplaced(oObjectData->keptShapes());
    record({RecoveryEntry::Kind::Undone});
}

void frmZeichnen::mnuKopieren_Click()
{
    // Each rectangle replaces the clipboard text of the one before; the last one stays.
    const std::int32_t n = oObjectData->GetNumberOfObjects();
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto rechteck = std::dynamic_pointer_cast<Rechteck>(oObjectData->GetObject(i));
        if (!rechteck)
            continue;
        QStringList values;
        for (const float v : {rechteck->getX1(), rechteck->getX2(), rechteck->getX3(), rechteck->getX4(),
                              rechteck->getY1(), rechteck->getY2(), rechteck->getY3(), rechteck->getY4()})
            // The general format of a 32-bit float: integral values without a decimal part, at
            // most seven significant digits, an exponent only for very large or very small values.
            values << QString::number(static_cast<double>(v), 'G', 7);
        values << QString::number(rechteck->getColor());
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(QStringLiteral("  ") + values.join(QLatin1Char('|')));
    }
}

void frmZeichnen::mnuObjektfarbe_Click()
{
    // A cancelled dialog is not told apart: the colour it still holds from before is taken.
    CommDlg1.ShowColor();
    lColor = CommDlg1.getColor();
    record({RecoveryEntry::Kind::Colour, lColor});
}

void frmZeichnen::mnuZeichenfarbe_Click()
{
    mnuObjektfarbe_Click();
}

void frmZeichnen::mnuHintergrundfarbe_Click()
{
    CommDlg1.ShowColor();
    setBackColor(CommDlg1.getColor());
    drawAll();
    record({RecoveryEntry::Kind::BackColour, getBackColor()});
}

void frmZeichnen::mnuTexteinstellung_Click()
{
}

void frmZeichnen::mnuDrehen_Click()
{
    // One rotate dialog at a time; one that has been closed is only waiting to be deleted.
    if (!m_frmDrehen || m_frmDrehen->isDiscarded())
        m_frmDrehen = new frmDrehen(this);
    m_frmDrehen->show();
    m_frmDrehen->raise();
    m_frmDrehen->activateWindow();
}

void frmZeichnen::mnuUeberSkizzar_Click()
{
    frmAbout about(this);
    dialogs().runModal(about);
}

void frmZeichnen::mnuText_Click()
{
    // The dialog's own buttons hand the text over; its frame's close button discards it.
    if (!m_frmText || m_frmText->isDiscarded())
        m_frmText = new frmText(*this, this);
    dialogs().runModal(*m_frmText);
}
