// The About box: its content and that only its OK button or the frame closes it.

#include "dialogs/frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class tst_frmAbout : public QObject
{
    Q_OBJECT

private slots:
    void layout()
    {
        frmAbout about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Skizzar"));
        QCOMPARE(about.size(), QSize(325, 317));
        QCOMPARE(about.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(about.Frame1->geometry(), QRect(8, 8, 305, 304));
        QCOMPARE(about.Label1->parentWidget(), about.Frame1);
        QCOMPARE(about.Label1->text(), QStringLiteral("Skizzar Win32 - Anwendung"));
        QCOMPARE(about.Label1->geometry(), QRect(8, 16, 289, 33));
        QVERIFY(about.Label1->font().bold());
        QCOMPARE(about.Label1->font().pointSizeF(), 13.5);
        QCOMPARE(about.cmdOK->parentWidget(), about.Frame1);
        QCOMPARE(about.cmdOK->geometry(), QRect(112, 272, 81, 25));
        QVERIFY(!about.cmdOK->isDefault() && !about.cmdOK->autoDefault());
    }

    void onlyOkCloses()
    {
        frmAbout about;
        about.show();
        about.cmdOK->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(about.cmdOK, key);
        QVERIFY(about.isVisible());
        QTest::mouseClick(about.cmdOK, Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
