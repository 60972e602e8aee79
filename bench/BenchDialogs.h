#pragma once
// The prompts of the benchmark: Weiter in the welcome window, No to saving, Yes to recovering, the generated file to open.

#include "platform/PlatformDialogs.h"

#include <QStringList>

class BenchDialogs : public PlatformDialogs
{
public:
    // What the open and save dialogs answer from now on.
    void setOpenPath(const QString &path) { m_openPath = path; }
    void setSavePath(const QString &path) { m_savePath = path; }

    // Messages other than the unsaved-changes prompt; a clean run shows none.
    QStringList takeUnexpectedMessages();

    std::optional<QString> openFileName(QWidget *parent, const QString &nameFilter,
                                        const QString &initialPath) override;
    std::optional<QString> saveFileName(QWidget *parent, const QString &nameFilter,
                                        const QString &initialPath) override;
    std::optional<std::int32_t> color(QWidget *parent, std::int32_t initial) override;
    bool printer(QWidget *parent) override;
    Answer messageBox(QWidget *parent, const QString &text, Buttons buttons,
                      const QString &title) override;
    void runModal(QDialog &dialog) override;

private:
    QString m_openPath;
    QString m_savePath;
    QStringList m_unexpected;
};
