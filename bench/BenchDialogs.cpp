#include "BenchDialogs.h"

#include <QDialog>
#include <QPushButton>
#include <utility>

QStringList BenchDialogs::takeUnexpectedMessages()
{
    return std::exchange(m_unexpected, {});
}

std::optional<QString> BenchDialogs::openFileName(QWidget *, const QString &, const QString &)
{
    return m_openPath;
}

std::optional<QString> BenchDialogs::saveFileName(QWidget *, const QString &, const QString &)
{
    return m_savePath;
}

std::optional<std::int32_t> BenchDialogs::color(QWidget *, std::int32_t)
{
    return std::nullopt;
}

bool BenchDialogs::printer(QWidget *)
{
    return false;
}

PlatformDialogs::Answer BenchDialogs::messageBox(QWidget *, const QString &text, Buttons buttons,
                                                 const QString &)
{
    if (text == QStringLiteral("Soll die Datei noch gespeichert werden ?"))
        return Answer::No;
    if (text.endsWith(QStringLiteral("Soll sie wiederhergestellt werden ?")))
        return Answer::Yes;
    m_unexpected.append(text);
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

void BenchDialogs::runModal(QDialog &dialog)
{
    // The welcome window is the only modal window of a benchmark run.
    if (auto *weiter = dialog.findChild<QPushButton *>(QStringLiteral("cmdWeiter")))
        weiter->click();
    else
        dialog.reject();
}
