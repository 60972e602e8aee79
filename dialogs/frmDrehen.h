#pragma once
// The rotate dialog: takes an angle that nothing reads; shown modeless.

#include "dialogs/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;

// At most one at a time: "Abbrechen" and the frame's close button discard it, and the next show
// creates a fresh one with an empty angle box.
class frmDrehen : public Form
{
    Q_OBJECT

public:
    explicit frmDrehen(QWidget *parent = nullptr);

    QPushButton *cmdOK = nullptr;
    QPushButton *cmdAbbrechen = nullptr;
    QLineEdit *txtAngle = nullptr;
    QLabel *Label1 = nullptr;
};
