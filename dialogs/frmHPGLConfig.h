#pragma once
// The plotter settings dialog: takes an init and an end string that nothing reads; shown modeless.

#include "dialogs/Form.h"

#include <memory>

class PlatformDialogs;
class QLabel;
class QLineEdit;
class QPushButton;

// One instance for the run: "Abbrechen" only hides it, so its texts stay. The frame's close
// button discards it; the next show must then create a fresh one.
class frmHPGLConfig : public Form
{
    Q_OBJECT

public:
    explicit frmHPGLConfig(std::shared_ptr<PlatformDialogs> dialogs, QWidget *parent = nullptr);

    QLineEdit *txtInitString = nullptr;
    QLineEdit *txtEndString = nullptr;
    QLabel *lblInitString = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdAbbrechen = nullptr;
    QLabel *lblEndString = nullptr;

private:
    void cmdOK_Click();

    std::shared_ptr<PlatformDialogs> m_dialogs;
};
