#pragma once
// The plotter settings dialog: takes an init and an end string that nothing reads; shown modeless.

#include <QDialog>
#include <memory>

class PlatformDialogs;
class QLabel;
class QLineEdit;
class QPushButton;

// One instance for the run: "Abbrechen" only hides it, so its texts stay. The frame's close
// button discards it; the next show must then create a fresh one.
class frmHPGLConfig : public QDialog
{
    Q_OBJECT

public:
    explicit frmHPGLConfig(std::shared_ptr<PlatformDialogs> dialogs, QWidget *parent = nullptr);

    // True once the frame's close button has closed it; it is then only waiting to be deleted.
    bool isDiscarded() const { return m_discarded; }

    QLineEdit *txtInitString = nullptr;
    QLineEdit *txtEndString = nullptr;
    QLabel *lblInitString = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdAbbrechen = nullptr;
    QLabel *lblEndString = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    // No button is a default or cancel button, so Enter and Escape do nothing.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void cmdOK_Click();

    std::shared_ptr<PlatformDialogs> m_dialogs;
    bool m_discarded = false;
};
