#pragma once
// The platform prompts realised with Qt's standard dialogs.

#include "platform/PlatformDialogs.h"

class QtPlatformDialogs : public PlatformDialogs
{
public:
    std::optional<QString> openFileName(QWidget *parent, const QString &nameFilter,
                                        const QString &initialPath) override;
    std::optional<QString> saveFileName(QWidget *parent, const QString &nameFilter,
                                        const QString &initialPath) override;
    std::optional<std::int32_t> color(QWidget *parent, std::int32_t initial) override;
    bool printer(QWidget *parent) override;
    Answer messageBox(QWidget *parent, const QString &text, Buttons buttons,
                      const QString &title) override;
    void runModal(QDialog &dialog) override;
};
