// The plotter settings dialog: content, the save-file dialog behind OK, hiding and discarding.

#include "dialogs/frmHPGLConfig.h"
#include "support/ScriptedDialogs.h"
#include "support/TestWindows.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class tst_frmHPGLConfig : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    QPointer<frmHPGLConfig> m_dialog;

private slots:
    void init()
    {
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_dialog = new frmHPGLConfig(m_dialogs);
        m_dialog->show();
        QTest::keyClicks(m_dialog->txtInitString, QStringLiteral("abc"));
        QTest::keyClicks(m_dialog->txtEndString, QStringLiteral("PU;SP0;"));
    }
    void cleanup() { delete m_dialog.data(); }

    void layout()
    {
        frmHPGLConfig fresh(m_dialogs);
        QCOMPARE(fresh.windowTitle(), QStringLiteral("HPGL-Plotter-Einstellungen"));
        QCOMPARE(fresh.size(), QSize(280, 196));
        QCOMPARE(fresh.txtInitString->geometry(), QRect(32, 40, 217, 25));
        QCOMPARE(fresh.txtEndString->geometry(), QRect(32, 96, 217, 25));
        for (QLineEdit *box : {fresh.txtInitString, fresh.txtEndString}) {
            QCOMPARE(box->text(), QString());
            QCOMPARE(box->font().pointSizeF(), 9.75);
        }
        QCOMPARE(fresh.lblInitString->text(), QStringLiteral("Initialisierungsstring:"));
        QCOMPARE(fresh.lblInitString->geometry(), QRect(32, 24, 97, 17));
        QCOMPARE(fresh.lblEndString->text(), QStringLiteral("Endstring:"));
        QCOMPARE(fresh.lblEndString->geometry(), QRect(32, 80, 57, 17));
        QCOMPARE(fresh.cmdOK->geometry(), QRect(32, 152, 81, 25));
        QCOMPARE(fresh.cmdAbbrechen->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(fresh.cmdAbbrechen->geometry(), QRect(168, 152, 81, 25));
        QCOMPARE(TestWindows::tabChain(&fresh),
                 (QList<QWidget *>{fresh.txtInitString, fresh.txtEndString, fresh.cmdOK, fresh.cmdAbbrechen}));
    }

    void okAsksForAFileAndChangesNothing_data()
    {
        QTest::addColumn<bool>("chooseFile");
        QTest::newRow("abgebrochen") << false;
        QTest::newRow("Datei gewählt") << true;
    }

    void okAsksForAFileAndChangesNothing()
    {
        QFETCH(bool, chooseFile);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("plot.plt"));
        m_dialogs->expectSaveFile(chooseFile ? std::optional<QString>(path) : std::nullopt);
        QTest::mouseClick(m_dialog->cmdOK, Qt::LeftButton);
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_dialogs->prompts.first().filter, QString());
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_dialog->txtInitString->text(), QStringLiteral("abc"));
        QCOMPARE(m_dialog->txtEndString->text(), QStringLiteral("PU;SP0;"));
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    void keysDoNothing()
    {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(m_dialog->txtInitString, key);
        QVERIFY(m_dialog->isVisible());
        QVERIFY(m_dialogs->prompts.isEmpty());
    }

    void abbrechenHidesAndKeepsTheTexts()
    {
        QTest::mouseClick(m_dialog->cmdAbbrechen, Qt::LeftButton);
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(!m_dialog->isDiscarded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_dialog);
        m_dialog->show();
        QCOMPARE(m_dialog->txtInitString->text(), QStringLiteral("abc"));
    }

    void frameCloseDiscards()
    {
        m_dialog->close();
        QVERIFY(m_dialog->isDiscarded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_dialog.isNull());
    }
};

QTEST_MAIN(tst_frmHPGLConfig)
#include "tst_frmHPGLConfig.moc"
