#pragma once
// The window of long work on a file, which shows how far it has come and lets the user stop it,
// behind an interface so that tests can script it.

#include <QString>
#include <memory>

class QWidget;

class ProgressDialogs
{
public:
    // One piece of work; its window goes when it ends.
    class Work
    {
    public:
        virtual ~Work() = default;
        // How far the work has come, from 0 to 1. Once the work has taken half a second, a modal
        // window shows it, with the busy pointer, and every step lets the event loop run. False
        // once the user stopped the work (Abbrechen, Escape or the window's close button).
        virtual bool step(double done) = 0;
    };

    virtual ~ProgressDialogs() = default;

    // Work titled "Öffnen …" or "Speichern …" on the file of that name.
    virtual std::unique_ptr<Work> beginWork(QWidget *parent, const QString &title, const QString &fileName) = 0;
};
