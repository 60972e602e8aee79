#pragma once
// The rotate dialog: takes an angle that nothing reads; shown modeless.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// At most one at a time: "Abbrechen" and the frame's close button discard it, and the next show
// creates a fresh one with an empty angle box.
class frmDrehen : public QDialog
{
    Q_OBJECT

public:
    explicit frmDrehen(QWidget *parent = nullptr);

    // True once it has been closed; it is then only waiting to be deleted.
    bool isDiscarded() const { return m_discarded; }

    QPushButton *cmdOK = nullptr;
    QPushButton *cmdAbbrechen = nullptr;
    QLineEdit *txtAngle = nullptr;
    QLabel *Label1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    // No button is a default or cancel button, so Enter and Escape do nothing.
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_discarded = false;
};
