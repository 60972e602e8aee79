#include "support/TestWindows.h"

#include "window/frmZeichnen.h"

#include <QTest>
#include <QWidget>

namespace TestWindows {

std::unique_ptr<frmZeichnen> startMainWindow(const std::shared_ptr<ScriptedDialogs> &dialogs)
{
    auto window = std::make_unique<frmZeichnen>(dialogs);
    dialogs->expectWelcome();
    window->Form_Load();
    return window;
}

QList<QWidget *> tabChain(QWidget *window)
{
    QList<QWidget *> chain;
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            chain.append(w);
    return chain;
}

} // namespace TestWindows
