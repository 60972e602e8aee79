// The main window right after start-up: title, menus, label, pointer, drawing area, tool selection.

#include "app/frmWillkommen.h"
#include "support/ScriptedDialogs.h"
#include "support/ShapeKinds.h"
#include "window/DrawingCanvas.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

class tst_frmZeichnen : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmZeichnen> m_window;

private slots:
    void init()
    {
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_window = std::make_unique<frmZeichnen>(m_dialogs);
        m_dialogs->expectModal([this](QDialog &welcome) {
            // The main window stays hidden while the welcome window is up.
            QVERIFY(!m_window->isVisible());
            auto *weiter = welcome.findChild<QPushButton *>(QStringLiteral("cmdWeiter"));
            QVERIFY(weiter);
            QTest::mouseClick(weiter, Qt::LeftButton);
            QVERIFY(!welcome.isVisible());
        });
        m_window->Form_Load();
        QVERIFY(m_dialogs->allAnswered());
    }
    void cleanup()
    {
        m_window.reset();
        m_dialogs.reset();
    }

    void startUpState()
    {
        QCOMPARE(m_dialogs->prompts.size(), 1);
        QCOMPARE(m_dialogs->prompts.first().text, QStringLiteral("frmWillkommen"));
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - Untitled"));
        QCOMPARE(m_window->iPaintMode, PaintMode::NoTool);
        QCOMPARE(m_window->getMousePointer(), std::int16_t(0));
        QVERIFY(!m_window->canvas()->testAttribute(Qt::WA_SetCursor));
        QVERIFY(m_window->oObjectData);
        QCOMPARE(m_window->oObjectData->GetNumberOfObjects(), 0);
        QCOMPARE(m_window->lColor, 0);
        QCOMPARE(m_window->getBackColor(), 0x00FFFFFF);
        QCOMPARE(m_window->getDrawMode(), std::int16_t(13));
    }

    void drawingAreaSizeAndColour()
    {
        QCOMPARE(m_window->canvas()->size(), QSize(647, 472));
        QCOMPARE(m_window->surface().size(), QSize(647, 472));
        const RasterSurface &surface = m_window->surface();
        for (const QPoint p : {QPoint(0, 0), QPoint(646, 471), QPoint(100, 300), QPoint(500, 20)})
            QCOMPARE(surface.pixel(p.x(), p.y()), 0x00FFFFFF);
        // The menu bar lies above the drawing area, not over it.
        QVERIFY(m_window->canvas()->geometry().top() >= m_window->menuBar()->geometry().bottom());
    }

    void label()
    {
        QLabel *label = m_window->label();
        QCOMPARE(label->text(), QStringLiteral("Aktuelle Version"));
        QCOMPARE(label->geometry(), QRect(360, 72, 81, 17));
        QCOMPARE(label->parentWidget(), m_window->canvas());
        QVERIFY(label->autoFillBackground());
    }

    void menuTree_data()
    {
        QTest::addColumn<int>("position"); // in the menu bar
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("Datei") << 0 << "&Datei"
                               << QStringList{"&Neu", "O&ffnen...", "&Speichern", "Speichern &unter...", "-", "&Drucken...",
                                              "Drucken in &HPGL...", "-", "&Beenden"}
                               << QStringList{"mnuNeu", "mnuOeffnen", "mnuSpeichern", "mnuSpeichernunter", "line1",
                                              "mnuDrucken", "mnuDruckenHPGL", "line2", "mnuBeenden"};
        QTest::newRow("Bearbeiten") << 1 << "&Bearbeiten"
                                    << QStringList{"&Rückgängig", "-", "&Ausschneiden", "&Kopieren", "&Einfügen", "&Löschen"}
                                    << QStringList{"mnuRueckgaengig", "line3", "mnuAusschneiden", "mnuKopieren", "mnuEinfuegen",
                                                   "mnuLoeschen"};
        // An item for each kind, captioned by its name; the text, whose item asks first, apart.
        QStringList drawing, drawingNames;
        for (const ShapeKinds::Kind &kind : ShapeKinds::all()) {
            if (!kind.armsTool) {
                drawing << "-";
                drawingNames << "line4";
            }
            drawing << QLatin1Char('&') + kind.name;
            drawingNames << kind.menuItem;
        }
        QTest::newRow("Zeichnen") << 2 << "&Zeichnen" << drawing << drawingNames;
        QTest::newRow("Ändern") << 3 << "Ä&ndern"
                                << QStringList{"&Objektfarbe...", "&Drehen...", "&Verzerren...", "-", "&Text"}
                                << QStringList{"mnuObjektfarbe", "mnuDrehen", "mnuVerzerren", "line5", "mnuTextaendern"};
        QTest::newRow("Extras") << 4 << "&Extras"
                                << QStringList{"&Hintergrundfarbe...", "&Zeichenfarbe...", "&Texteinstellung..."}
                                << QStringList{"mnuHintergrundfarbe", "mnuZeichenfarbe", "mnuTexteinstellung"};
        QTest::newRow("Hilfe") << 5 << "&Hilfe"
                               << QStringList{"&Hilfethemen...", "-", "Über &Skizzar..."}
                               << QStringList{"mnuHilfethemen", "line6", "mnuUeberSkizzar"};
    }

    void menuTree()
    {
        QFETCH(int, position);
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        QFETCH(QStringList, names);

        const QList<QAction *> bar = m_window->menuBar()->actions();
        QCOMPARE(bar.size(), 6);
        QCOMPARE(bar.at(position)->text(), menu);
        const QList<QAction *> actions = bar.at(position)->menu()->actions();
        QCOMPARE(actions.size(), items.size());
        for (int i = 0; i < actions.size(); ++i) {
            QAction *a = actions.at(i);
            QCOMPARE(a->objectName(), names.at(i));
            if (items.at(i) == QLatin1String("-"))
                QVERIFY(a->isSeparator());
            else
                QCOMPARE(a->text(), items.at(i));
            // Only the commands of Edit start disabled.
            QCOMPARE(a->isEnabled(), menu != QLatin1String("&Bearbeiten") || a->isSeparator());
            QVERIFY(!a->isCheckable());
            QVERIFY(a->isVisible());
            const QKeySequence expected = a == m_window->mnuHilfethemen ? QKeySequence(Qt::Key_F1) : QKeySequence();
            QCOMPARE(a->shortcut(), expected);
        }
    }

    void toolSelection_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<PaintMode::Value>("paintMode");
        QTest::newRow("Punkt") << "mnuPunkt" << PaintMode::PunktTool;
        QTest::newRow("Linie") << "mnuLinie" << PaintMode::LinieAnchor;
        QTest::newRow("Rechteck") << "mnuRechteck" << PaintMode::RechteckAnchor;
        QTest::newRow("Kreis") << "mnuKreis" << PaintMode::KreisAnchor;
    }

    void toolSelection()
    {
        QFETCH(QString, item);
        QFETCH(PaintMode::Value, paintMode);
        auto *action = m_window->findChild<QAction *>(item);
        QVERIFY(action);
        for (int times = 0; times < 2; ++times) {
            action->trigger();
            QCOMPARE(m_window->iPaintMode, paintMode);
            QCOMPARE(m_window->getMousePointer(), std::int16_t(2));
            QCOMPARE(m_window->canvas()->cursor().shape(), Qt::CrossCursor);
        }
        QCOMPARE(m_window->oObjectData->GetNumberOfObjects(), 0);
        QVERIFY(m_dialogs->allAnswered());
    }

    void itemsWithoutEffectChangeNothing()
    {
        m_window->mnuLinie->trigger();
        for (QAction *a : {m_window->mnuVerzerren, m_window->mnuTextaendern, m_window->mnuHilfethemen})
            a->trigger();
        QTest::keyClick(m_window.get(), Qt::Key_F1);
        QCOMPARE(m_window->iPaintMode, PaintMode::LinieAnchor);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Skizzar - Untitled"));
        QCOMPARE(m_dialogs->prompts.size(), 1);
    }

    void paintRedrawsTheDocumentAndErasesTheRest()
    {
        m_window->lColor = 0x0000FF;
        m_window->PaintLinie(150.0f, 150.0f, 1500.0f, 150.0f, 1);
        QCOMPARE(m_window->surface().pixel(20, 10), 0x0000FF);
        // Something drawn outside the document is gone after the Paint event.
        m_window->PSet(3000.0f, 3000.0f, 0x00FF00);
        QCOMPARE(m_window->surface().pixel(200, 200), 0x00FF00);
        m_window->Form_Paint();
        QCOMPARE(m_window->surface().pixel(200, 200), 0x00FFFFFF);
        QCOMPARE(m_window->surface().pixel(20, 10), 0x0000FF);
    }

    void resizingKeepsTheScale()
    {
        m_window->PaintPunkt(9000.0f, 6000.0f);
        m_window->canvas()->resize(800, 600);
        QCOMPARE(m_window->surface().size(), QSize(800, 600));
        QCOMPARE(m_window->surface().pixel(600, 400), 0);
        m_window->canvas()->resize(300, 200);
        QCOMPARE(m_window->surface().size(), QSize(300, 200));
        // A shape outside the visible part stays in the document.
        QCOMPARE(m_window->oObjectData->GetNumberOfObjects(), 1);
    }

    void errorsAreShownAndTheWindowGoesOn()
    {
        m_dialogs->expectMessage(PlatformDialogs::Answer::Ok);
        m_window->guarded([] { throw OverflowError(); });
        const auto messages = m_dialogs->messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().title, QStringLiteral("Skizzar"));
        QCOMPARE(messages.first().buttons, PlatformDialogs::Buttons::Ok);
        QVERIFY(messages.first().text.contains(QStringLiteral("Überlauf")));
        m_window->mnuPunkt->trigger();
        QCOMPARE(m_window->iPaintMode, PaintMode::PunktTool);
    }
};

QTEST_MAIN(tst_frmZeichnen)
#include "tst_frmZeichnen.moc"
