#pragma once
// The progress window of long work on a file: the file's name, a progress bar and "Abbrechen".

#include "dialogs/Form.h"
#include "dialogs/ProgressDialogs.h"

#include <QElapsedTimer>
#include <chrono>

class QLabel;
class QProgressBar;
class QPushButton;

// Application-modal once shown: the main window still repaints, but takes no input.
class frmFortschritt : public Form, public ProgressDialogs::Work
{
    Q_OBJECT

public:
    // How long work runs before the window shows.
    static constexpr std::chrono::milliseconds ShowAfter{500};

    frmFortschritt(QWidget *parent, const QString &title, const QString &fileName,
                   std::chrono::milliseconds showAfter = ShowAfter);
    // Hides the window and gives the pointer back.
    ~frmFortschritt() override;

    bool step(double done) override;

    QLabel *lblDatei = nullptr;
    QProgressBar *prgFortschritt = nullptr;
    QPushButton *cmdAbbrechen = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QElapsedTimer m_running;
    std::chrono::milliseconds m_showAfter;
    bool m_shown = false;
    bool m_stopped = false;
};
