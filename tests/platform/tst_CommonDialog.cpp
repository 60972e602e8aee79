// The common-dialog object: what it keeps between uses, and what a cancelled dialog leaves alone.

#include "platform/CommonDialog.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

class tst_CommonDialog : public QObject
{
    Q_OBJECT

private slots:
    void fileDialogsKeepTheirLastChoice()
    {
        auto dialogs = std::make_shared<ScriptedDialogs>();
        CommonDialog dlg(dialogs, nullptr);
        dlg.setFilter(QStringLiteral("Data Exchange Format (*.dxf)|*.dxf"));
        QCOMPARE(dlg.getFlags(), 0);

        dialogs->expectOpenFile(QStringLiteral("/tmp/plaene/plan.dxf"));
        QVERIFY(dlg.ShowOpen());
        QCOMPARE(dlg.getFileName(), QStringLiteral("/tmp/plaene/plan.dxf"));
        QCOMPARE(dlg.getFileTitle(), QStringLiteral("plan.dxf"));
        QVERIFY(dlg.getFlags() != 0);

        dialogs->expectSaveFile(std::nullopt);
        QVERIFY(!dlg.ShowSave());
        QCOMPARE(dlg.getFileName(), QStringLiteral("/tmp/plaene/plan.dxf"));
        QCOMPARE(dlg.getFileTitle(), QStringLiteral("plan.dxf"));

        // The next dialog starts at the last file and shows the DXF filter.
        QCOMPARE(dialogs->prompts.last().initialPath, QStringLiteral("/tmp/plaene/plan.dxf"));
        QCOMPARE(dialogs->prompts.last().filter, QStringLiteral("Data Exchange Format (*.dxf)"));
        QVERIFY(dialogs->allAnswered());
    }

    void colourDialogKeepsTheLastConfirmedColour()
    {
        auto dialogs = std::make_shared<ScriptedDialogs>();
        CommonDialog dlg(dialogs, nullptr);
        QCOMPARE(dlg.getColor(), 0);
        dialogs->expectColor(0x0000FF);
        QVERIFY(dlg.ShowColor());
        QCOMPARE(dlg.getColor(), 0x0000FF);
        dialogs->expectColor(std::nullopt);
        QVERIFY(!dlg.ShowColor());
        QCOMPARE(dlg.getColor(), 0x0000FF);
        QVERIFY(dialogs->allAnswered());
    }

    void nameFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("dxf") << "Data Exchange Format (*.dxf)|*.dxf" << QStringLiteral("Data Exchange Format (*.dxf)");
        QTest::newRow("no pattern in the text") << "Zeichnungen|*.dxf;*.DXF" << QStringLiteral("Zeichnungen (*.dxf *.DXF)");
        QTest::newRow("two") << "A (*.a)|*.a|B|*.b" << QStringLiteral("A (*.a);;B (*.b)");
        QTest::newRow("none") << "" << QStringLiteral("");
    }

    void nameFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(CommonDialog::qtNameFilter(filter), expected);
    }
};

QTEST_MAIN(tst_CommonDialog)
#include "tst_CommonDialog.moc"
