#pragma once
// The text entry dialog: hands the text of the next text shape to the drawing window and arms the text tool.

#include "dialogs/Form.h"

class QLineEdit;
class QPushButton;
class frmZeichnen;

// One instance serves the whole run: its buttons only hide it, so the text box keeps its content.
// Closing it through the frame discards it; the window then creates a fresh one at the next show.
class frmText : public Form
{
    Q_OBJECT

public:
    explicit frmText(frmZeichnen &window, QWidget *parent = nullptr);

    QLineEdit *Text1 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdNotOk = nullptr;

    // Each showing starts with the focus in the text box, wherever the last one left it, and
    // the caret after the text, nothing selected.
    void setVisible(bool visible) override;

private:
    void cmdOK_Click();

    frmZeichnen &m_window;
};
