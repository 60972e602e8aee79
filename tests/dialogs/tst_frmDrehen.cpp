// The rotate dialog: content and an OK that does nothing. Its lifecycle is tested through the menu.

#include "dialogs/frmDrehen.h"
#include "support/TestWindows.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_frmDrehen : public QObject
{
    Q_OBJECT

private slots:
    void layout()
    {
        frmDrehen dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Drehwinkel"));
        QCOMPARE(dialog.size(), QSize(255, 86));
        QCOMPARE(dialog.cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(dialog.cmdOK->geometry(), QRect(56, 48, 65, 25));
        QCOMPARE(dialog.cmdAbbrechen->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(dialog.cmdAbbrechen->geometry(), QRect(144, 48, 65, 25));
        QCOMPARE(dialog.txtAngle->text(), QString());
        QCOMPARE(dialog.txtAngle->geometry(), QRect(160, 16, 65, 19));
        QCOMPARE(dialog.Label1->text(), QStringLiteral("Drehwinkel (-360° - 360°) "));
        QCOMPARE(dialog.Label1->geometry(), QRect(16, 16, 121, 17));
        QCOMPARE(TestWindows::tabChain(&dialog), (QList<QWidget *>{dialog.cmdOK, dialog.cmdAbbrechen, dialog.txtAngle}));
        for (QPushButton *button : {dialog.cmdOK, dialog.cmdAbbrechen})
            QVERIFY(!button->isDefault() && !button->autoDefault());
    }

    void okAndKeysKeepItOpen()
    {
        frmDrehen dialog;
        dialog.show();
        QTest::keyClicks(dialog.txtAngle, QStringLiteral("45"));
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(dialog.txtAngle, key);
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.isDiscarded());
        QCOMPARE(dialog.txtAngle->text(), QStringLiteral("45"));
    }
};

QTEST_MAIN(tst_frmDrehen)
#include "tst_frmDrehen.moc"
