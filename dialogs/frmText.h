#pragma once
// The text entry dialog: hands the text of the next text shape to the drawing window and arms the text tool.

#include <QDialog>

class QLineEdit;
class QPushButton;
class frmZeichnen;

// One instance serves the whole run: its buttons only hide it, so the text box keeps its content.
// Closing it through the frame discards it; the window then creates a fresh one at the next show.
class frmText : public QDialog
{
    Q_OBJECT

public:
    explicit frmText(frmZeichnen &window, QWidget *parent = nullptr);

    // True once the frame's close button has closed it; it is then only waiting to be deleted.
    bool isDiscarded() const { return m_discarded; }

    QLineEdit *Text1 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdNotOk = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    // Neither button is a default or cancel button, so Enter and Escape do nothing.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void cmdOK_Click();
    void cmdNotOk_Click();

    frmZeichnen &m_window;
    bool m_discarded = false;
};
