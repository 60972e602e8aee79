#pragma once
// The About box: the product name in black on grey, closed with its OK button.

#include "dialogs/Form.h"

class QFrame;
class QLabel;
class QPushButton;

// Created at each show by its caller, which shows it modally and discards it afterwards.
class frmAbout : public Form
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    QFrame *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *cmdOK = nullptr;
};
