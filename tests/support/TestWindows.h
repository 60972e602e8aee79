#pragma once
// Helpers for tests of windows: start the main window as the user does, follow the Tab chain, read
// and write the files it works on, give it a state folder of its own.

#include "support/ScriptedDialogs.h"

#include <QList>
#include <QScopeGuard>
#include <functional>
#include <memory>

class QWidget;
class frmZeichnen;

namespace TestWindows {

// The main window after start-up: the welcome window left with "Weiter", the document created.
std::unique_ptr<frmZeichnen> startMainWindow(const std::shared_ptr<ScriptedDialogs> &dialogs);

// The widgets that Tab visits, in order, starting from the window.
QList<QWidget *> tabChain(QWidget *window);

// The file's bytes, or "<missing>" where it cannot be read.
QByteArray contents(const QString &path);
// False where the file cannot be written whole.
bool writeFile(const QString &path, const QByteArray &bytes);

// Keeps the records of the editor (XDG_STATE_HOME) in folder until the guard goes.
[[nodiscard]] QScopeGuard<std::function<void()>> useStateFolder(const QString &folder);

} // namespace TestWindows
