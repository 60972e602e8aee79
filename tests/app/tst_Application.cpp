// The application object: German standard dialogs whatever the locale, and no exception across the event loop.

#include "app/Application.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Throws from inside an event handler, as a faulty handler would.
class ThrowingObject : public QObject
{
protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Testfehler");
        return QObject::event(e);
    }
};

} // namespace

class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void standardButtonsAreGerman()
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Datei Speichern"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
        QStringList texts;
        for (QAbstractButton *b : box.buttons())
            texts << b->text();
        texts.sort();
        QCOMPARE(texts, (QStringList{"&Ja", "&Nein", "Abbrechen", "OK"}));
    }

    void fileDialogIsGerman()
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QStringList texts;
        for (QPushButton *b : dialog.findChildren<QPushButton *>())
            texts << b->text();
        QVERIFY2(texts.contains(QStringLiteral("Abbrechen")), qPrintable(texts.join(QLatin1Char(','))));
    }

    void anExceptionDoesNotCrossTheEventLoop()
    {
        ThrowingObject target;
        // The error is shown in a message box titled "Skizzar"; close it as the user would.
        QString shownTitle;
        QString shownText;
        QTimer::singleShot(0, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()) {
                    shownTitle = box->windowTitle();
                    shownText = box->text();
                    box->accept();
                }
        });
        QEvent event(QEvent::User);
        QCOMPARE(QApplication::sendEvent(&target, &event), false);
        QCOMPARE(shownTitle, QStringLiteral("Skizzar"));
        QVERIFY(shownText.contains(QStringLiteral("Testfehler")));
    }
};

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Application.moc"
