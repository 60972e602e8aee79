#pragma once
// The welcome window shown once at start-up until "Weiter" is pressed.

#include "dialogs/Form.h"

class QFrame;
class QLabel;
class QPushButton;

class frmWillkommen : public Form
{
    Q_OBJECT

public:
    explicit frmWillkommen(QWidget *parent = nullptr);

    QFrame *FrameSkizzar = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *pctBox1 = nullptr;
    QPushButton *cmdWeiter = nullptr;
};
