#pragma once
// The platform's modal prompts behind one interface, so that tests can answer them from a script.

#include <QString>
#include <cstdint>
#include <optional>

class QDialog;
class QWidget;

class PlatformDialogs
{
public:
    enum class Buttons {
        Ok,
        YesNo,
        YesNoCancel
    };
    enum class Answer {
        Ok,
        Yes,
        No,
        Cancel
    };

    virtual ~PlatformDialogs() = default;

    // The chosen full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> openFileName(QWidget *parent, const QString &nameFilter,
                                                const QString &initialPath) = 0;
    virtual std::optional<QString> saveFileName(QWidget *parent, const QString &nameFilter,
                                                const QString &initialPath) = 0;
    // The chosen colour as 0x00BBGGRR, or nothing when cancelled.
    virtual std::optional<std::int32_t> color(QWidget *parent, std::int32_t initial) = 0;
    // Whether the printer dialog was confirmed.
    virtual bool printer(QWidget *parent) = 0;
    // A message box without icon. A box dismissed (Escape, the frame's close button) answers
    // Cancel, also where it shows no Cancel button: it never counts as No.
    virtual Answer messageBox(QWidget *parent, const QString &text, Buttons buttons,
                              const QString &title) = 0;
    // Shows one of our own windows modally and returns when it has been closed or hidden.
    virtual void runModal(QDialog &dialog) = 0;
};
