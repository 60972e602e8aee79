#pragma once
// Platform prompts and progress windows answered from a queue, or with standing answers: records
// every prompt and fails the test on one nobody expected. The one double of the tests, the fuzz
// target and the benchmark.

#include "dialogs/ProgressDialogs.h"
#include "platform/PlatformDialogs.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <variant>

class ScriptedDialogs : public PlatformDialogs, public ProgressDialogs
{
public:
    enum class Kind {
        OpenFile,
        SaveFile,
        Color,
        Printer,
        Message,
        Modal,
        Progress
    };
    // How the user leaves a progress window.
    // SessionEnd: the session asks the main window to close meanwhile, then Abbrechen.
    enum class Stop {
        Abbrechen,
        Escape,
        Frame,
        SessionEnd
    };

    struct Prompt
    {
        Kind kind;
        QString text;  // message text, the modal window's object name, or the file name a progress window shows
        QString title; // message title, or the window's title
        Buttons buttons = Buttons::Ok;
        QString filter;      // name filter of a file dialog
        QString initialPath; // start path of a file dialog, or the file of a progress window's work
    };

    void expectOpenFile(std::optional<QString> answer);
    void expectSaveFile(std::optional<QString> answer);
    void expectColor(std::optional<std::int32_t> answer);
    void expectPrinter(bool confirmed);
    void expectMessage(Answer answer);
    // The message box is Qt's own, shown for real, and left with Escape or its frame's close button.
    void expectDismissal(bool escape);
    // The action plays the user's part in the modal window, e.g. types and presses a button.
    void expectModal(std::function<void(QDialog &)> action);
    // The welcome window at start-up, left with "Weiter".
    void expectWelcome();
    // The next work on a file is long: the editor's own progress window shows from its first step
    // and is left at step stopAt (never where 0); failing where the work ends before. Work that
    // nobody expects to be long ends before its window would show.
    void expectProgress(int stopAt, Stop how = Stop::Abbrechen);

    // Standing answers, given to every prompt of their kind while none of it is expected: for
    // runs that are not scripted step by step.
    void keepAnsweringOpenFile(std::optional<QString> answer);
    void keepAnsweringSaveFile(std::optional<QString> answer);
    void keepAnsweringMessages(Answer answer);
    void keepWelcoming();
    // Called with a description of a prompt that nobody expected, instead of failing the running test.
    std::function<void(const QString &what)> onUnexpected;

    // Every prompt shown so far, in order.
    QList<Prompt> prompts;
    // Whether every expected prompt has been shown.
    bool allAnswered() const { return m_expected.empty(); }
    // The message prompts only.
    QList<Prompt> messages() const;

    std::optional<QString> openFileName(QWidget *parent, const QString &nameFilter,
                                        const QString &initialPath) override;
    std::optional<QString> saveFileName(QWidget *parent, const QString &nameFilter,
                                        const QString &initialPath) override;
    std::optional<std::int32_t> color(QWidget *parent, std::int32_t initial) override;
    bool printer(QWidget *parent) override;
    Answer messageBox(QWidget *parent, const QString &text, Buttons buttons,
                      const QString &title) override;
    void runModal(QDialog &dialog) override;
    std::unique_ptr<Work> beginWork(QWidget *parent, const QString &title, const QString &fileName) override;

private:
    enum class Dismissal {
        Escape,
        Frame
    };
    using Answered = std::variant<std::optional<QString>, std::optional<std::int32_t>, bool, Answer,
                                  std::function<void(QDialog &)>, Dismissal, std::pair<int, Stop>>;
    struct Expected
    {
        Kind kind;
        Answered answer;
    };

    // Takes the next expectation, or the standing answer; fails the running test when it is of
    // another kind or missing.
    const Expected *next(const Prompt &prompt);
    void fail(const QString &what) const;
    // Leaves the welcome window with "Weiter", clicked with the mouse or, outside a test (whose
    // mouse device Qt would destroy after the application), pressed; any other window fails.
    void welcome(QDialog &dialog, bool byMouse) const;

    std::deque<Expected> m_expected;
    std::map<Kind, Expected> m_standing;
    Expected m_current;
};
