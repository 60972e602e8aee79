// The text entry dialog on its own: layout and keys. Its buttons are driven through the menu in
// the window's tests.

#include "dialogs/frmText.h"
#include "support/ScriptedDialogs.h"
#include "support/TestWindows.h"
#include "window/frmZeichnen.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_frmText : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<frmZeichnen> m_window;
    QPointer<frmText> m_dialog;

private slots:
    void init()
    {
        m_window = std::make_unique<frmZeichnen>(std::make_shared<ScriptedDialogs>());
        m_dialog = new frmText(*m_window, m_window.get());
        m_dialog->show();
        // A tool half-way through its placement, to see what the dialog leaves alone.
        m_window->iPaintMode = PaintMode::RechteckBand;
        m_window->setMousePointer(1);
        m_window->tmpText = QStringLiteral("vorher");
    }
    void cleanup() { m_window.reset(); }

    void layout()
    {
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(m_dialog->size(), QSize(387, 184));
        QCOMPARE(m_dialog->Text1->text(), QStringLiteral("Hier Text eingeben"));
        QCOMPARE(m_dialog->Text1->geometry(), QRect(8, 8, 369, 129));
        QCOMPARE(m_dialog->cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(m_dialog->cmdOK->geometry(), QRect(272, 144, 97, 25));
        QCOMPARE(m_dialog->cmdNotOk->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(m_dialog->cmdNotOk->geometry(), QRect(8, 144, 97, 29));
        QCOMPARE(TestWindows::tabChain(m_dialog), (QList<QWidget *>{m_dialog->Text1, m_dialog->cmdOK, m_dialog->cmdNotOk}));
        for (QPushButton *button : {m_dialog->cmdOK, m_dialog->cmdNotOk})
            QVERIFY(!button->isDefault() && !button->autoDefault());
    }

    void enterAndEscapeDoNothing()
    {
        for (QWidget *target : {static_cast<QWidget *>(m_dialog->Text1), static_cast<QWidget *>(m_dialog->cmdOK),
                                static_cast<QWidget *>(m_dialog->cmdNotOk)}) {
            target->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(target, key);
        }
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_window->iPaintMode, PaintMode::RechteckBand);
        QCOMPARE(m_window->tmpText, QStringLiteral("vorher"));
    }
};

QTEST_MAIN(tst_frmText)
#include "tst_frmText.moc"
