#include "ScriptedDialogs.h"

#include "dialogs/frmFortschritt.h"
#include "platform/QtPlatformDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const char *kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::OpenFile: return "open-file dialog";
    case ScriptedDialogs::Kind::SaveFile: return "save-file dialog";
    case ScriptedDialogs::Kind::Color: return "colour dialog";
    case ScriptedDialogs::Kind::Printer: return "printer dialog";
    case ScriptedDialogs::Kind::Message: return "message box";
    case ScriptedDialogs::Kind::Modal: return "modal window";
    case ScriptedDialogs::Kind::Progress: return "progress window";
    }
    return "?";
}

// Work over before its window would show, or the editor's own window, shown at once, which the
// user leaves at step stopAt while the window's event loop runs.
class ScriptedWork : public ProgressDialogs::Work
{
public:
    std::unique_ptr<frmFortschritt> window;
    QWidget *parent = nullptr;
    int stopAt = 0;
    ScriptedDialogs::Stop how = ScriptedDialogs::Stop::Abbrechen;
    std::function<void()> endedEarly;
    int steps = 0;

    ~ScriptedWork() override
    {
        if (steps < stopAt)
            endedEarly();
    }
    bool step(double done) override
    {
        if (!window)
            return true;
        if (++steps == stopAt)
            QTimer::singleShot(0, window.get(), [w = window.get(), how = how, parent = parent] {
                switch (how) {
                case ScriptedDialogs::Stop::SessionEnd:
                    parent->close();
                    [[fallthrough]];
                case ScriptedDialogs::Stop::Abbrechen:
                    QTest::mouseClick(w->cmdAbbrechen, Qt::LeftButton);
                    break;
                case ScriptedDialogs::Stop::Escape:
                    QTest::keyClick(w, Qt::Key_Escape);
                    break;
                case ScriptedDialogs::Stop::Frame:
                    w->close();
                    break;
                }
            });
        return window->step(done);
    }
};

} // namespace

void ScriptedDialogs::expectOpenFile(std::optional<QString> answer)
{
    m_expected.push_back({Kind::OpenFile, std::move(answer)});
}

void ScriptedDialogs::expectSaveFile(std::optional<QString> answer)
{
    m_expected.push_back({Kind::SaveFile, std::move(answer)});
}

void ScriptedDialogs::expectColor(std::optional<std::int32_t> answer)
{
    m_expected.push_back({Kind::Color, answer});
}

void ScriptedDialogs::expectPrinter(bool confirmed)
{
    m_expected.push_back({Kind::Printer, confirmed});
}

void ScriptedDialogs::expectMessage(Answer answer)
{
    m_expected.push_back({Kind::Message, answer});
}

void ScriptedDialogs::expectDismissal(bool escape)
{
    m_expected.push_back({Kind::Message, escape ? Dismissal::Escape : Dismissal::Frame});
}

void ScriptedDialogs::expectModal(std::function<void(QDialog &)> action)
{
    m_expected.push_back({Kind::Modal, std::move(action)});
}

void ScriptedDialogs::expectWelcome()
{
    expectModal([this](QDialog &dialog) { welcome(dialog, true); });
}

void ScriptedDialogs::expectProgress(int stopAt, Stop how)
{
    m_expected.push_back({Kind::Progress, std::pair(stopAt, how)});
}

void ScriptedDialogs::keepAnsweringOpenFile(std::optional<QString> answer)
{
    m_standing[Kind::OpenFile] = {Kind::OpenFile, std::move(answer)};
}

void ScriptedDialogs::keepAnsweringSaveFile(std::optional<QString> answer)
{
    m_standing[Kind::SaveFile] = {Kind::SaveFile, std::move(answer)};
}

void ScriptedDialogs::keepAnsweringMessages(Answer answer)
{
    m_standing[Kind::Message] = {Kind::Message, answer};
}

void ScriptedDialogs::keepWelcoming()
{
    m_standing[Kind::Modal] = {Kind::Modal, std::function<void(QDialog &)>([this](QDialog &dialog) { welcome(dialog, false); })};
}

void ScriptedDialogs::welcome(QDialog &dialog, bool byMouse) const
{
    auto *weiter = dialog.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
    if (!weiter) {
        fail(QStringLiteral("a modal window other than the welcome window: ") + dialog.objectName());
        dialog.reject();
        return;
    }
    if (byMouse)
        QTest::mouseClick(weiter, Qt::LeftButton);
    else
        weiter->click();
}

QList<ScriptedDialogs::Prompt> ScriptedDialogs::messages() const
{
    QList<Prompt> result;
    for (const Prompt &p : prompts)
        if (p.kind == Kind::Message)
            result.append(p);
    return result;
}

const ScriptedDialogs::Expected *ScriptedDialogs::next(const Prompt &prompt)
{
    prompts.append(prompt);
    const QString shown = QStringLiteral("%1 \"%2\" (%3)")
                              .arg(QLatin1String(kindName(prompt.kind)), prompt.text, prompt.title);
    if (m_expected.empty()) {
        const auto standing = m_standing.find(prompt.kind);
        if (standing != m_standing.end())
            return &standing->second;
        fail(QStringLiteral("unexpected ") + shown);
        return nullptr;
    }
    if (m_expected.front().kind != prompt.kind) {
        fail(QStringLiteral("expected a %1, got %2").arg(QLatin1String(kindName(m_expected.front().kind)), shown));
        return nullptr;
    }
    m_current = std::move(m_expected.front());
    m_expected.pop_front();
    return &m_current;
}

void ScriptedDialogs::fail(const QString &what) const
{
    if (onUnexpected)
        onUnexpected(what);
    else
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
}

std::optional<QString> ScriptedDialogs::openFileName(QWidget *, const QString &nameFilter,
                                                     const QString &initialPath)
{
    const Expected *e = next({Kind::OpenFile, {}, {}, Buttons::Ok, nameFilter, initialPath});
    return e ? std::get<std::optional<QString>>(e->answer) : std::nullopt;
}

std::optional<QString> ScriptedDialogs::saveFileName(QWidget *, const QString &nameFilter,
                                                     const QString &initialPath)
{
    const Expected *e = next({Kind::SaveFile, {}, {}, Buttons::Ok, nameFilter, initialPath});
    return e ? std::get<std::optional<QString>>(e->answer) : std::nullopt;
}

std::optional<std::int32_t> ScriptedDialogs::color(QWidget *, std::int32_t)
{
    const Expected *e = next({Kind::Color, {}, {}, Buttons::Ok, {}, {}});
    return e ? std::get<std::optional<std::int32_t>>(e->answer) : std::nullopt;
}

bool ScriptedDialogs::printer(QWidget *)
{
    const Expected *e = next({Kind::Printer, {}, {}, Buttons::Ok, {}, {}});
    return e ? std::get<bool>(e->answer) : false;
}

PlatformDialogs::Answer ScriptedDialogs::messageBox(QWidget *parent, const QString &text, Buttons buttons,
                                                    const QString &title)
{
    const Expected *e = next({Kind::Message, text, title, buttons, {}, {}});
    if (!e)
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    if (const auto *how = std::get_if<Dismissal>(&e->answer)) {
        // Acts once the box is shown and waits in its own event loop.
        QTimer::singleShot(0, [how = *how] {
            QWidget *box = QApplication::activeModalWidget();
            how == Dismissal::Escape ? QTest::keyClick(box, Qt::Key_Escape) : void(box->close());
        });
        return QtPlatformDialogs().messageBox(parent, text, buttons, title);
    }
    return std::get<Answer>(e->answer);
}

void ScriptedDialogs::runModal(QDialog &dialog)
{
    const Expected *e = next({Kind::Modal, dialog.objectName(), dialog.windowTitle(), Buttons::Ok, {}, {}});
    if (!e)
        return;
    dialog.setModal(true);
    dialog.show();
    std::get<std::function<void(QDialog &)>>(e->answer)(dialog);
}

std::unique_ptr<ProgressDialogs::Work> ScriptedDialogs::beginWork(QWidget *parent, const QString &title,
                                                                  const QString &fileName)
{
    auto work = std::make_unique<ScriptedWork>();
    if (m_expected.empty() || m_expected.front().kind != Kind::Progress)
        return work;
    work->window = std::make_unique<frmFortschritt>(parent, title, fileName, std::chrono::milliseconds(0));
    work->parent = parent;
    const Expected *e = next({Kind::Progress, work->window->lblDatei->text(), title, Buttons::Ok, {}, fileName});
    std::tie(work->stopAt, work->how) = std::get<std::pair<int, Stop>>(e->answer);
    work->endedEarly = [this, stopAt = work->stopAt] { fail(QStringLiteral("work ended before step %1 of its progress window").arg(stopAt)); };
    return work;
}
