// The Edit, Modify, Extras and Help commands and the Text item, with their dialogs as the user sees them.

#include "dialogs/frmAbout.h"
#include "dialogs/frmDrehen.h"
#include "dialogs/frmText.h"
#include "support/DrawingText.h"
#include "support/ScriptedDialogs.h"
#include "support/TestWindows.h"
#include "window/DrawingCanvas.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

namespace {

constexpr std::int32_t White = 0x00FFFFFF;
constexpr std::int32_t Red = 0x000000FF;
constexpr std::int32_t Green = 0x0000FF00;

// One step of a colour scenario: which item, and the colour dialog's answer (none = cancelled).
struct ColourStep
{
    QString item;
    std::optional<std::int32_t> answer;
};

} // namespace

Q_DECLARE_METATYPE(QList<ColourStep>)

class tst_frmZeichnen_Edit : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmZeichnen> m_window;

    void click(QPoint pixel, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(m_window->canvas(), button, {}, pixel);
    }
    std::int32_t pixel(int x, int y) const { return m_window->surface().pixel(x, y); }
    int count() const { return m_window->oObjectData->GetNumberOfObjects(); }
    void drawRectangleWithTheMouse(QPoint from, QPoint to)
    {
        m_window->mnuRechteck->trigger();
        click(from);
        click(to);
    }
    // Opens the text dialog through its menu item and lets the action play the user.
    void inTextDialog(std::function<void(frmText &)> action)
    {
        m_dialogs->expectModal([action](QDialog &dialog) {
            auto *text = qobject_cast<frmText *>(&dialog);
            QVERIFY(text);
            QVERIFY(text->isModal());
            action(*text);
            QVERIFY(!text->isVisible());
        });
        m_window->mnuText->trigger();
        QVERIFY(m_dialogs->allAnswered());
        QCOMPARE(m_dialogs->prompts.last().title, QStringLiteral("Form1"));
    }

private slots:
    void init()
    {
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_window = TestWindows::startMainWindow(m_dialogs);
    }
    void cleanup()
    {
        QVERIFY(m_dialogs->allAnswered());
        m_window.reset();
    }

    void undo_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("Linksklick") << int(Qt::LeftButton);
        QTest::newRow("Rechtsklick") << int(Qt::RightButton);
    }

    void undo()
    {
        QFETCH(int, button);
        m_window->lColor = Red;
        m_window->mnuLinie->trigger();
        click({10, 100});
        click({200, 100});
        drawRectangleWithTheMouse({40, 40}, {100, 70});
        QCOMPARE(pixel(100, 40), Red);

        m_window->mnuRueckgaengig->trigger();
        QCOMPARE(count(), 1);
        QCOMPARE(DrawingText::parts(*m_window->oObjectData->GetObject(1)).kind, QStringLiteral("Linie"));
        QVERIFY(!m_window->mnuRueckgaengig->isEnabled());
        QCOMPARE(pixel(100, 40), White);
        QCOMPARE(pixel(100, 100), Red);
        // Any release over the drawing area enables it again while a shape is left.
        click({300, 300}, Qt::MouseButton(button));
        QVERIFY(m_window->mnuRueckgaengig->isEnabled());
    }

    void colourCommands_data()
    {
        QTest::addColumn<QList<ColourStep>>("steps");
        QTest::addColumn<int>("shapeColour");
        QTest::addColumn<int>("background");
        QTest::newRow("Objektfarbe") << QList<ColourStep>{{"mnuObjektfarbe", Green}} << Green << White;
        QTest::newRow("Zeichenfarbe") << QList<ColourStep>{{"mnuZeichenfarbe", Green}} << Green << White;
        QTest::newRow("erster Dialog abgebrochen")
            << QList<ColourStep>{{"mnuZeichenfarbe", std::nullopt}} << 0 << White;
        QTest::newRow("abgebrochen nach rotem Hintergrund")
            << QList<ColourStep>{{"mnuHintergrundfarbe", Red}, {"mnuObjektfarbe", std::nullopt}} << Red << Red;
        QTest::newRow("abgebrochen nach der anderen Farbwahl")
            << QList<ColourStep>{{"mnuObjektfarbe", Green}, {"mnuZeichenfarbe", std::nullopt}} << Green << White;
        QTest::newRow("Hintergrund zuerst abgebrochen")
            << QList<ColourStep>{{"mnuHintergrundfarbe", std::nullopt}} << 0x00123456 << 0;
    }

    void colourCommands()
    {
        QFETCH(QList<ColourStep>, steps);
        QFETCH(int, shapeColour);
        QFETCH(int, background);
        // A line placed before keeps its colour.
        m_window->lColor = 0x00123456;
        m_window->PaintLinie(150.0f, 1500.0f, 3000.0f, 1500.0f, 1);
        for (const ColourStep &step : steps) {
            m_dialogs->expectColor(step.answer);
            m_window->findChild<QAction *>(step.item)->trigger();
        }
        QCOMPARE(m_window->lColor, shapeColour);
        QCOMPARE(m_window->getBackColor(), background);
        m_window->PaintLinie(150.0f, 3000.0f, 3000.0f, 3000.0f, 1);
        QCOMPARE(pixel(100, 100), 0x00123456);
        QCOMPARE(pixel(100, 200), shapeColour);
        QCOMPARE(pixel(300, 300), background);
    }

    void backgroundRepaintsEverything()
    {
        m_window->lColor = Red;
        m_window->PaintLinie(150.0f, 1500.0f, 3000.0f, 1500.0f, 1);
        m_window->PSet(600.0f, 4500.0f, Green);
        drawRectangleWithTheMouse({250, 250}, {280, 280});
        m_window->mnuRechteck->trigger();
        click({300, 300});
        QMouseEvent move(QEvent::MouseMove, QPointF(400, 350), QPointF(400, 350), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(m_window->canvas(), &move);
        QCOMPARE(pixel(350, 300), Red);

        m_dialogs->expectColor(0x00FF0000);
        m_window->mnuHintergrundfarbe->trigger();
        QCOMPARE(m_window->getBackColor(), 0x00FF0000);
        // The band and the stray pixel are gone, the shapes are drawn again.
        QCOMPARE(pixel(350, 300), 0x00FF0000);
        QCOMPARE(pixel(40, 300), 0x00FF0000);
        QCOMPARE(pixel(100, 100), Red);
        QCOMPARE(pixel(280, 250), Red);
        QCOMPARE(m_window->iPaintMode, PaintMode::RechteckBand);
    }

    void textIsPlacedAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("unverändert") << QString();
        QTest::newRow("Umlaute") << QStringLiteral("Größe Äpfel Übermaß");
        QTest::newRow("außerhalb Latin-1") << QStringLiteral("Ωμέγα 漢字 €😀");
        QTest::newRow("ein Leerzeichen") << QStringLiteral(" ");
        QTest::newRow("sehr lange Zeile") << QString(40000, QLatin1Char('W'));
    }

    void textIsPlacedAsTyped()
    {
        QFETCH(QString, typed);
        const QString expected = typed.isNull() ? QStringLiteral("Hier Text eingeben") : typed;
        inTextDialog([&](frmText &dialog) {
            if (!typed.isNull())
                dialog.Text1->setText(typed);
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(m_window->iPaintMode, PaintMode::TextTool);
        QCOMPARE(m_window->getMousePointer(), std::int16_t(2));
        m_window->lColor = Red;
        click({50, 60});
        QCOMPARE(count(), 1);
        QCOMPARE(DrawingText::parts(*m_window->oObjectData->GetObject(1)),
                 (DrawingText::Shape{"Text", {750.0f, 900.0f}, Red, expected, QString(), 0, false}));
        QCOMPARE(m_window->iPaintMode, PaintMode::NoTool);
        QCOMPARE(m_window->tmpText, expected);
        // The same dialog comes back, its box emptied by OK.
        inTextDialog([](frmText &dialog) {
            QCOMPARE(dialog.Text1->text(), QString());
            QTest::mouseClick(dialog.cmdNotOk, Qt::LeftButton);
        });
        QCOMPARE(m_window->findChildren<frmText *>().size(), 1);
    }

    void textDialogWithoutAText()
    {
        m_window->mnuLinie->trigger();
        click({50, 50});
        m_window->setMousePointer(1);
        m_window->tmpText = QStringLiteral("vorher");
        inTextDialog([](frmText &dialog) {
            QTest::keyClicks(dialog.Text1, QStringLiteral("abc"));
            QTest::mouseClick(dialog.cmdNotOk, Qt::LeftButton);
        });
        QCOMPARE(m_window->iPaintMode, PaintMode::LinieBand);
        inTextDialog([](frmText &dialog) {
            QCOMPARE(dialog.Text1->text(), QStringLiteral("Hier Text eingebenabc"));
            dialog.Text1->clear();
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        });
        QCOMPARE(m_window->iPaintMode, PaintMode::NoTool);
        QCOMPARE(m_window->getMousePointer(), std::int16_t(1));
        QCOMPARE(m_window->tmpText, QStringLiteral("vorher"));
        QCOMPARE(count(), 0);
    }

    void textDialogClosedThroughItsFrame()
    {
        m_window->mnuKreis->trigger();
        QPointer<frmText> first;
        inTextDialog([&first](frmText &dialog) {
            first = &dialog;
            dialog.Text1->setText(QStringLiteral("xyz"));
            dialog.close();
        });
        QCOMPARE(m_window->iPaintMode, PaintMode::KreisAnchor);
        QCOMPARE(m_window->tmpText, QString());
        // Created afresh even before the closed one has gone.
        inTextDialog([&first](frmText &dialog) {
            QVERIFY(&dialog != first.data());
            QCOMPARE(dialog.Text1->text(), QStringLiteral("Hier Text eingeben"));
            QTest::mouseClick(dialog.cmdNotOk, Qt::LeftButton);
        });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
    }

    void rotateDialogLifecycle_data()
    {
        QTest::addColumn<bool>("byFrame");
        QTest::newRow("Abbrechen") << false;
        QTest::newRow("Schließfeld") << true;
    }

    void rotateDialogLifecycle()
    {
        QFETCH(bool, byFrame);
        m_window->mnuDrehen->trigger();
        auto *dialog = m_window->findChild<frmDrehen *>();
        QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
        QTest::keyClicks(dialog->txtAngle, QStringLiteral("45"));
        QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
        // The window goes on working while the dialog is open.
        m_window->mnuPunkt->trigger();
        click({30, 30});
        QCOMPARE(count(), 1);
        m_window->mnuDrehen->trigger();
        QCOMPARE(m_window->findChildren<frmDrehen *>(), QList<frmDrehen *>{dialog});
        QCOMPARE(dialog->txtAngle->text(), QStringLiteral("45"));

        QPointer<frmDrehen> closed = dialog;
        if (byFrame)
            dialog->close();
        else
            QTest::mouseClick(dialog->cmdAbbrechen, Qt::LeftButton);
        m_window->mnuDrehen->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(closed.isNull());
        const auto dialogs = m_window->findChildren<frmDrehen *>();
        QCOMPARE(dialogs.size(), 1);
        QVERIFY(dialogs.first()->isVisible());
        QCOMPARE(dialogs.first()->txtAngle->text(), QString());
    }

    void aboutBox()
    {
        for (int shown = 0; shown < 2; ++shown) {
            m_dialogs->expectModal([this](QDialog &dialog) {
                auto *about = qobject_cast<frmAbout *>(&dialog);
                QVERIFY(about);
                QCOMPARE(about->parentWidget(), m_window.get());
                QTest::mouseClick(about->cmdOK, Qt::LeftButton);
                QVERIFY(!about->isVisible());
            });
            m_window->mnuUeberSkizzar->trigger();
            QVERIFY(m_dialogs->allAnswered());
            QCOMPARE(m_dialogs->prompts.last().title, QStringLiteral("About Skizzar"));
            QVERIFY(!m_window->findChild<frmAbout *>());
        }
    }

    void copy_data()
    {
        QTest::addColumn<QList<QList<float>>>("rectangles");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("leere Zeichnung") << QList<QList<float>>{} << "vorher";
        QTest::newRow("ganze Zahlen") << QList<QList<float>>{{600, 600, 1500, 1050}}
                                      << "  600|1500|1500|600|600|600|1050|1050|255";
        QTest::newRow("Brüche und Exponenten")
            << QList<QList<float>>{{0.5f, -12.25f, 12345678.0f, 1e-5f}}
            << "  0.5|1.234568E+07|1.234568E+07|0.5|-12.25|-12.25|1E-05|1E-05|255";
        QTest::newRow("das letzte Rechteck zählt")
            << QList<QList<float>>{{1, 2, 3, 4}, {15, 30, 45, 60}} << "  15|45|45|15|30|30|60|60|255";
    }

    void copy()
    {
        QFETCH(QList<QList<float>>, rectangles);
        QFETCH(QString, clipboard);
        QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
        m_window->lColor = Red;
        for (const QList<float> &r : rectangles) {
            m_window->PaintRechteck(r[0], r[1], r[2], r[3], 1);
            // Shapes that are not rectangles are passed over.
            m_window->PaintLinie(r[0], r[1], r[2], r[3], 1);
            m_window->PaintPunkt(r[0], r[1]);
        }
        // The item stays disabled, so choosing it does nothing.
        m_window->mnuKopieren->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("vorher"));
        m_window->guarded([this] { m_window->mnuKopieren_Click(); });
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    }
};

QTEST_MAIN(tst_frmZeichnen_Edit)
#include "tst_frmZeichnen_Edit.moc"
