// The main window's load at program start.

#include "window/frmZeichnen.h"

#include "app/frmWillkommen.h"
#include "files/StateFolder.h"

void frmZeichnen::Form_Load()
{
    hide();
    {
        frmWillkommen welcome(this);
        dialogs().runModal(welcome);
    }
    show();
    iPaintMode = PaintMode::NoTool;
    oObjectData = std::make_unique<ObjectData>();
    oObjectData->setUndoDisabler([this] { mnuRueckgaengig->setEnabled(false); });
    setWindowTitle(QStringLiteral("Skizzar - Untitled"));
    // Without a record the editor still draws; it says so.
    try {
        m_record = std::make_unique<RecoveryRecord>(StateFolder::made());
    } catch (const FileError &error) {
        showError(error.message());
    }
    // The first Paint event came before the document existed.
    Form_Paint();
}
