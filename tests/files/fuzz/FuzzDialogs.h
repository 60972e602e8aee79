#pragma once
// Platform prompts for the fuzz target: presses "Weiter" on the welcome window, answers every message box with OK, and keeps each message.

#include "platform/PlatformDialogs.h"

#include <QStringList>

class FuzzDialogs : public PlatformDialogs
{
public:
    // The messages shown since the last call, in order.
    QStringList takeMessages();

    // Reading a file never asks for a file, colour or printer: any of these ends the run.
    std::optional<QString> openFileName(QWidget *parent, const QString &nameFilter,
                                        const QString &initialPath) override;
    std::optional<QString> saveFileName(QWidget *parent, const QString &nameFilter,
                                        const QString &initialPath) override;
    std::optional<std::int32_t> color(QWidget *parent, std::int32_t initial) override;
    bool printer(QWidget *parent) override;
    // Every box the editor shows while reading is titled "Skizzar" and offers OK only; any
    // other box ends the run.
    Answer messageBox(QWidget *parent, const QString &text, Buttons buttons,
                      const QString &title) override;
    // Only the welcome window is expected.
    void runModal(QDialog &dialog) override;

    // Reports what went wrong and aborts, which libFuzzer records as a crash with its input.
    [[noreturn]] static void fail(const QString &what);

private:
    QStringList m_messages;
};
