#include "FuzzDialogs.h"

#include <QDialog>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>

QStringList FuzzDialogs::takeMessages()
{
    QStringList messages;
    messages.swap(m_messages);
    return messages;
}

std::optional<QString> FuzzDialogs::openFileName(QWidget *, const QString &, const QString &)
{
    fail(QStringLiteral("an open-file dialog was shown"));
}

std::optional<QString> FuzzDialogs::saveFileName(QWidget *, const QString &, const QString &)
{
    fail(QStringLiteral("a save-file dialog was shown"));
}

std::optional<std::int32_t> FuzzDialogs::color(QWidget *, std::int32_t)
{
    fail(QStringLiteral("a colour dialog was shown"));
}

bool FuzzDialogs::printer(QWidget *)
{
    fail(QStringLiteral("a printer dialog was shown"));
}

PlatformDialogs::Answer FuzzDialogs::messageBox(QWidget *, const QString &text, Buttons buttons,
                                                const QString &title)
{
    if (buttons != Buttons::Ok || title != QLatin1String("Skizzar"))
        fail(QStringLiteral("a message box other than OK titled \"Skizzar\": [%1] %2").arg(title, text));
    m_messages.append(text);
    return Answer::Ok;
}

void FuzzDialogs::runModal(QDialog &dialog)
{
    auto *weiter = dialog.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
    if (!weiter)
        fail(QStringLiteral("a modal window other than the welcome window: %1").arg(dialog.objectName()));
    dialog.setModal(true);
    dialog.show();
    weiter->click();
    if (dialog.isVisible())
        fail(QStringLiteral("\"Weiter\" did not close the welcome window"));
}

void FuzzDialogs::fail(const QString &what)
{
    // Control characters and lone surrogates of a message made from the input are shown as codes.
    QString shown;
    for (const QChar c : what) {
        if (c.unicode() < 0x20 || c.isSurrogate())
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    std::fprintf(stderr, "fuzz_LoadDXF: %s\n", shown.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}
