#pragma once
// Helpers for tests of windows: start the main window as the user does, follow the Tab chain.

#include "support/ScriptedDialogs.h"

#include <QList>
#include <memory>

class QWidget;
class frmZeichnen;

namespace TestWindows {

// The main window after start-up: the welcome window left with "Weiter", the document created.
std::unique_ptr<frmZeichnen> startMainWindow(const std::shared_ptr<ScriptedDialogs> &dialogs);

// The widgets that Tab visits, in order, starting from the window.
QList<QWidget *> tabChain(QWidget *window);

} // namespace TestWindows
