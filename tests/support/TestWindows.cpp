#include "support/TestWindows.h"

#include "window/frmZeichnen.h"

#include <QFile>
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

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QScopeGuard<std::function<void()>> useStateFolder(const QString &folder)
{
    const QByteArray previous = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(folder));
    return qScopeGuard(std::function<void()>([previous] { qputenv("XDG_STATE_HOME", previous); }));
}

} // namespace TestWindows
