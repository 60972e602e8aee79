#pragma once
// The About box: the product name on grey, closed with its OK button.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// Created at each show and discarded when it closes; the caller shows it modally.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    QFrame *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    // No button is a default or cancel button, so Enter and Escape do nothing.
    void keyPressEvent(QKeyEvent *event) override;
};
