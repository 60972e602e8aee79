// The mouse tools, driven through the drawing area: placements, rubber bands, cancel, the label.

#include "app/frmWillkommen.h"
#include "support/DrawingText.h"
#include "support/ScriptedDialogs.h"
#include "support/TestWindows.h"
#include "window/DrawingCanvas.h"
#include "window/frmZeichnen.h"

#include "shapes/SkizzarError.h"
#include "support/ShapeKinds.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <utility>
#include <vector>

namespace {

// A shape of none of the five classes whose drawing overflows.
class Overflowing : public Basisklasse
{
public:
    void Draw(DrawingSurface &, std::int16_t) override { throw OverflowError(); }
    // Left out of the undo snapshot, as a plain shape is.
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &) const override { return nullptr; }
};

// A point that counts how often it and its copies are drawn or filed in the shape index.
class CountedPunkt : public Punkt
{
public:
    std::shared_ptr<int> draws;
    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override
    {
        ++*draws;
        Punkt::Draw(oObject, iDrawMode);
    }
    QRect reach(const PixelReach &surface) const override
    {
        ++*draws;
        return Punkt::reach(surface);
    }
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override { return copied(*this, blocks); }
};

// Two windows driven alike, one repainting placements in part, the other in whole.
struct Twins
{
    std::shared_ptr<ScriptedDialogs> dialogs[2] = {std::make_shared<ScriptedDialogs>(),
                                                   std::make_shared<ScriptedDialogs>()};
    std::unique_ptr<frmZeichnen> windows[2] = {TestWindows::startMainWindow(dialogs[0]),
                                               TestWindows::startMainWindow(dialogs[1])};
    Twins() { windows[1]->setRepaintShortcuts(false); }

    template <typename Action>
    void both(Action &&action)
    {
        for (int i = 0; i < 2; ++i)
            action(*windows[i], *dialogs[i]);
    }
    // Pixels, colours, text position, drawing and messages.
    bool alike() const
    {
        const RasterSurface &a = windows[0]->surface(), &b = windows[1]->surface();
        return a.image() == b.image() && a.getForeColor() == b.getForeColor()
               && a.getCurrentX() == b.getCurrentX() && a.getCurrentY() == b.getCurrentY()
               && windows[0]->oObjectData->GetNumberOfObjects() == windows[1]->oObjectData->GetNumberOfObjects()
               && dialogs[0]->prompts.size() == dialogs[1]->prompts.size();
    }
};

constexpr std::int32_t White = 0x00FFFFFF;
constexpr std::int32_t Red = 0x000000FF;

} // namespace

class tst_frmZeichnen_Mouse : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmZeichnen> m_window;

    void click(QPoint pixel, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(m_window->canvas(), button, {}, pixel);
    }
    void move(QPoint pixel, QWidget *target = nullptr)
    {
        // Sent directly: the band follows the mouse whether a button is held or not.
        target = target ? target : m_window->canvas();
        QMouseEvent event(QEvent::MouseMove, QPointF(pixel), QPointF(target->mapToGlobal(pixel)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    QImage image() const { return m_window->surface().image().copy(); }
    std::int32_t pixel(QPoint p) const { return m_window->surface().pixel(p.x(), p.y()); }
    int count() const { return m_window->oObjectData->GetNumberOfObjects(); }
    void choose(const QString &item) { m_window->findChild<QAction *>(item)->trigger(); }

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

    // Random drawings with bands, abandoned bands, texts of every kind, colours, Undo, a new
    // background, shapes appended unseen and the drawing opened again: after every step the window that repaints placements in part shows what the
    // one that repaints them whole shows.
    void partialRepaintMatchesFullRepaint()
    {
        const QStringList texts = {QStringLiteral("Text 123"), QStringLiteral("Skizzar gjpq"),
                                   QString::fromUtf16(u"ab \u05E9\u05DC\u05D5\u05DD cd 12"),
                                   QString::fromUtf16(u"Te\u0301xt e\u0301 x"),
                                   QString::fromUtf16(u"a\u0000b \u4E2D\u6587"),
                                   QString::fromUtf16(u"A\U0001F600B gjpq"),
                                   QStringLiteral("Text 123 ").repeated(40) + QString::fromUtf16(u"\u05D0")};
        QStringList tools;
        for (const ShapeKinds::Kind &kind : ShapeKinds::all())
            if (kind.armsTool)
                tools << kind.menuItem;
        Twins twins;
        QTemporaryDir folder;
        const QString saved = folder.filePath(QStringLiteral("saved.dxf"));
        QRandomGenerator random(20261207);
        const auto somewhere = [&] { return QPoint(random.bounded(-20, 667), random.bounded(-20, 492)); };
        // Enough points under the rest that every full repaint covers from the last shape back.
        twins.both([](frmZeichnen &window, ScriptedDialogs &) {
            QRandomGenerator scatter(7);
            for (std::size_t i = 0; i < ShapeIndex::CoveringFrom; ++i) {
                const auto x = float(scatter.bounded(660) * 15);
                const auto y = float(scatter.bounded(480) * 15);
                window.oObjectData->AddObject(ShapeKinds::punkt(x, y, std::int32_t(scatter.bounded(0x1000000))));
            }
            window.Form_Paint();
        });
        for (int step = 0; step < 1500; ++step) {
            const int action = random.bounded(102);
            if (action == 101)
                twins.windows[0]->SaveDXF(saved);
            const QPoint at = somewhere();
            const std::int32_t colour = std::int32_t(random.bounded(0x1000000));
            const QString text = texts[random.bounded(texts.size())];
            const QString tool = tools.at(random.bounded(tools.size()));
            twins.both([&](frmZeichnen &window, ScriptedDialogs &dialogs) {
                QWidget *canvas = window.canvas();
                if (action < 10) {
                    window.findChild<QAction *>(tool)->trigger();
                } else if (action < 13) {
                    window.tmpText = text;
                    window.iPaintMode = PaintMode::TextTool;
                } else if (action < 45) {
                    QTest::mouseClick(canvas, Qt::LeftButton, {}, at);
                } else if (action < 85) {
                    QMouseEvent event(QEvent::MouseMove, QPointF(at), QPointF(canvas->mapToGlobal(at)),
                                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                    QApplication::sendEvent(canvas, &event);
                } else if (action < 88) {
                    QTest::mouseClick(canvas, Qt::RightButton, {}, at);
                } else if (action < 96) {
                    window.lColor = colour;
                } else if (action < 99) {
                    window.mnuRueckgaengig->trigger();
                } else if (action < 100) {
                    dialogs.expectColor(colour);
                    window.mnuHintergrundfarbe->trigger();
                } else if (action < 101) { // a shape the next placement or repaint shows: a line, a
                    // circle whose box holds the window but not its outline, or an arc at the left edge
                    const std::array<std::shared_ptr<Basisklasse>, 3> shown{ShapeKinds::linie(0, 0, at.x() * 15.0f, at.y() * 15.0f),
                                                                            ShapeKinds::kreis(4845, 3540, 20000 * 15.0f + at.x(), colour),
                                                                            ShapeKinds::kreis(-15e6f + at.x() % 20 * 15.0f, at.y() * 15.0f, 15e6f, colour)};
                    window.oObjectData->AddObject(shown[std::size_t(step % 3)]);
                } else { // the drawing replaced by one much like it
                    dialogs.expectMessage(PlatformDialogs::Answer::No);
                    dialogs.expectOpenFile(saved);
                    window.mnuOeffnen->trigger();
                }
            });
            QVERIFY2(twins.alike(), qPrintable(QStringLiteral("step %1, action %2").arg(step).arg(action)));
        }
        QVERIFY(twins.windows[0]->oObjectData->GetNumberOfObjects() > int(ShapeIndex::CoveringFrom) + 100);

        // Marks stacked far above their letter, in cells of the index that the line of the text
        // does not reach, and a line placed across them.
        twins.both([](frmZeichnen &window, ScriptedDialogs &) {
            window.tmpText = QStringLiteral("o") + QString(64, QChar(0x0301));
            window.iPaintMode = PaintMode::TextTool;
            QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, QPoint(300, 360));
            window.mnuLinie->trigger();
            QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, QPoint(250, 225));
            QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, QPoint(350, 250));
        });
        QVERIFY(twins.alike());

        // Lines over every row in the left half: the cells they fill are done first, each of
        // the others goes on alone with the shapes under it.
        twins.both([](frmZeichnen &window, ScriptedDialogs &) {
            for (int row = 0; row < window.surface().size().height(); ++row)
                window.oObjectData->AddObject(ShapeKinds::linie(-15.0f, row * 15.0f, 6000.0f, row * 15.0f, row * 0x030201));
            window.Form_Paint();
        });
        QVERIFY(twins.alike());

        // Short lines that fill a corner, under layers of lines over every row that leave it free:
        // long before an eighth of the shapes is drawn, the corner's cell goes on alone.
        twins.both([](frmZeichnen &window, ScriptedDialogs &) {
            const float right = window.surface().size().width() * 15.0f + 15.0f;
            for (int row = 0; row < 64; ++row)
                window.oObjectData->AddObject(ShapeKinds::linie(0.0f, row * 15.0f, 63 * 15.0f, row * 15.0f, row * 0x010101));
            for (int layer = 0; layer < 60; ++layer)
                for (int row = 0; row < window.surface().size().height(); ++row)
                    window.oObjectData->AddObject(ShapeKinds::linie(row < 64 ? 64 * 15.0f : -15.0f, row * 15.0f, right,
                                                                    row * 15.0f, (layer * 7 + row) * 0x010203));
            window.Form_Paint();
        });
        QVERIFY(twins.alike());

        // Texts at the left edge over lines that leave its first pixels free, open in the left cells.
        twins.both([](frmZeichnen &window, ScriptedDialogs &) {
            for (int row = 0; row < window.surface().size().height(); ++row)
                window.oObjectData->AddObject(ShapeKinds::linie(45.0f, row * 15.0f, 9000.0f, row * 15.0f, row * 0x020301));
            QRandomGenerator scatter(21);
            for (int i = 0; i < 200; ++i)
                window.oObjectData->AddObject(ShapeKinds::text(scatter.bounded(90), scatter.bounded(7050), QString::number(i)));
            window.Form_Paint();
        });
        QVERIFY(twins.alike());

        // Lines over every row: a full repaint is done long before it reaches the circle and
        // the text under them, which still set ForeColor and the text position.
        twins.both([](frmZeichnen &window, ScriptedDialogs &) {
            window.oObjectData->AddObject(ShapeKinds::kreis(0, 0, 0, 0x123456));
            window.oObjectData->AddObject(ShapeKinds::text(4321.0f, 765.0f, QString()));
            const float right = window.surface().size().width() * 15.0f + 15.0f;
            for (int row = 0; row < window.surface().size().height(); ++row)
                window.oObjectData->AddObject(ShapeKinds::linie(-15.0f, row * 15.0f, right, row * 15.0f, row * 0x010203));
            window.Form_Paint();
        });
        QVERIFY(twins.alike());

        // A shape whose drawing overflows: every placement repaints whole and reports it.
        const qsizetype messages = twins.dialogs[0]->messages().size();
        twins.both([](frmZeichnen &window, ScriptedDialogs &dialogs) {
            window.oObjectData->AddObject(std::make_shared<Overflowing>());
            window.mnuLinie->trigger();
            QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, QPoint(10, 10));
            dialogs.expectMessage(PlatformDialogs::Answer::Ok);
            QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, QPoint(300, 200));
        });
        QVERIFY(twins.alike());
        QCOMPARE(twins.dialogs[0]->messages().size(), messages + 1);
        twins.both([](frmZeichnen &, ScriptedDialogs &dialogs) { QVERIFY(dialogs.allAnswered()); });
    }

    // Undo of a placement draws again only where the line taken back was, and shows what a full
    // repaint shows; where the drawing's first shapes changed since the snapshot (one removed or
    // selected) it draws and files every shape again; right after New it draws every shape but
    // files none again, unless they changed before New.
    void undoDrawsAgainWhereTheShapeWas_data()
    {
        QTest::addColumn<char>("since"); // d: the first shape removed, s: selected, n: New, S: both
        QTest::newRow("placement") << ' ';
        QTest::newRow("shape removed") << 'd';
        QTest::newRow("shape selected") << 's';
        QTest::newRow("new") << 'n';
        QTest::newRow("shape selected, new") << 'S';
    }
    void undoDrawsAgainWhereTheShapeWas()
    {
        QFETCH(char, since);
        constexpr int Points = 300;
        Twins twins;
        std::vector<std::shared_ptr<int>> draws;
        twins.both([&](frmZeichnen &window, ScriptedDialogs &dialogs) {
            draws.push_back(std::make_shared<int>(0));
            QRandomGenerator scatter(5);
            for (int i = 0; i < Points; ++i) {
                auto point = std::make_shared<CountedPunkt>();
                point->setX1(float(scatter.bounded(640) * 15));
                point->setY1(float(scatter.bounded(470) * 15));
                point->draws = draws.back();
                window.oObjectData->SaveOldCollection();
                window.oObjectData->AddObject(point);
            }
            window.Form_Paint();
            for (const auto &[from, to] : {std::pair{QPoint(20, 20), QPoint(300, 200)}, {QPoint(310, 40), QPoint(330, 60)}}) {
                window.mnuLinie->trigger();
                QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, from);
                QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, to);
            }
            if (since == 'd')
                window.oObjectData->DeleteObject(1);
            else if (since == 's' || since == 'S')
                window.oObjectData->SelectObject(1);
            if (since == 'n' || since == 'S') {
                dialogs.expectMessage(PlatformDialogs::Answer::No);
                window.mnuNeu->trigger();
            }
        });
        *draws[0] = 0;
        twins.both([](frmZeichnen &window, ScriptedDialogs &) { window.mnuRueckgaengig->trigger(); });
        QVERIFY(twins.alike());
        QCOMPARE(twins.windows[0]->oObjectData->GetNumberOfObjects(), Points + 1);
        QVERIFY(since == ' ' ? *draws[0] < Points / 10 : *draws[0] == (since == 'n' ? 1 : 2) * Points);
    }

    void placement_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QList<QPoint>>("clicks");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QList<float>>("coordinates");
        QTest::addColumn<QList<QPoint>>("painted");

        for (const ShapeKinds::Kind &kind : ShapeKinds::all())
            if (kind.armsTool)
                QTest::newRow(qPrintable(kind.name))
                    << kind.menuItem << kind.clicks << kind.name << kind.coordinates << kind.painted;
        QTest::newRow("Linie der Länge 0") << "mnuLinie" << QList<QPoint>{{50, 50}, {50, 50}} << "Linie"
                                           << QList<float>{750, 750, 750, 750} << QList<QPoint>{};
        QTest::newRow("Kreis mit Radius 0") << "mnuKreis" << QList<QPoint>{{200, 200}, {200, 200}} << "Kreis"
                                            << QList<float>{3000, 3000, 0} << QList<QPoint>{{200, 200}};
        QTest::newRow("Rechteck nach links oben")
            << "mnuRechteck" << QList<QPoint>{{100, 70}, {40, 40}} << "Rechteck"
            << QList<float>{1500, 1050, 600, 1050, 600, 600, 1500, 600}
            << QList<QPoint>{{40, 40}, {100, 40}, {100, 70}, {40, 70}};
    }

    void placement()
    {
        QFETCH(QString, tool);
        QFETCH(QList<QPoint>, clicks);
        QFETCH(QString, kind);
        QFETCH(QList<float>, coordinates);
        QFETCH(QList<QPoint>, painted);

        m_window->lColor = Red;
        choose(tool);
        for (int i = 0; i < clicks.size(); ++i) {
            QCOMPARE(count(), 0);
            if (i > 0)
                move(clicks.at(i) + QPoint(7, 3)); // the band's last position does not count
            click(clicks.at(i));
        }
        QCOMPARE(count(), 1);
        const auto shape = m_window->oObjectData->GetObject(1);
        QCOMPARE(DrawingText::parts(*shape), (DrawingText::Shape{kind, coordinates, Red, {}, {}, 0, false}));
        for (const QPoint p : painted)
            QCOMPARE(pixel(p), Red);
        QCOMPARE(m_window->iPaintMode, PaintMode::NoTool);
        QCOMPARE(m_window->getMousePointer(), std::int16_t(1));
        QCOMPARE(m_window->canvas()->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(m_window->mnuRueckgaengig->isEnabled());
        // The tool is off: another click places nothing.
        click({300, 300});
        QCOMPARE(count(), 1);
    }

    void otherButtonsDuringABand_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<PaintMode::Value>("paintMode");
        QTest::addColumn<int>("pointer");
        QTest::newRow("rechts bricht ab") << int(Qt::RightButton) << PaintMode::NoTool << 1;
        QTest::newRow("Mitte tut nichts") << int(Qt::MiddleButton) << PaintMode::LinieBand << 2;
    }

    void otherButtonsDuringABand()
    {
        QFETCH(int, button);
        QFETCH(PaintMode::Value, paintMode);
        QFETCH(int, pointer);
        choose(QStringLiteral("mnuLinie"));
        click({50, 50});
        move({150, 50});
        click({300, 300}, Qt::MouseButton(button));
        QCOMPARE(m_window->iPaintMode, paintMode);
        QCOMPARE(m_window->getMousePointer(), std::int16_t(pointer));
        QCOMPARE(count(), 0);
        QVERIFY(!m_window->mnuRueckgaengig->isEnabled());
        // Nothing erases the band: it stays until the next repaint.
        QCOMPARE(pixel({100, 50}), 0);
        m_window->Form_Paint();
        QCOMPARE(pixel({100, 50}), White);
    }

    void bandLeavesTheBufferAsItWas_data()
    {
        QTest::addColumn<QString>("tool");
        for (const ShapeKinds::Kind &kind : ShapeKinds::all())
            if (kind.armsTool && kind.clicks.size() == 2)
                QTest::newRow(qPrintable(kind.name)) << kind.menuItem;
    }

    void bandLeavesTheBufferAsItWas()
    {
        QFETCH(QString, tool);
        // Shapes in several colours under the band, on a coloured background.
        m_window->setBackColor(0x00336699);
        const std::int32_t colours[] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00FFFFFF, 0x00808080};
        for (int i = 0; i < 5; ++i) {
            m_window->lColor = colours[i];
            m_window->PaintRechteck(150.0f * i, 300.0f, 4000.0f + 300 * i, 5000.0f, 1);
            m_window->PaintKreis(4500.0f, 3000.0f, 4500.0f, 3000.0f + 400 * (i + 1), 1);
            m_window->PaintLinie(0.0f, 900.0f * i, 9000.0f, 6000.0f - 900 * i, 1);
        }
        m_window->lColor = 0x00C08040;
        choose(tool);
        click({300, 200});
        const QImage before = image();
        bool bandSeen = false;
        for (int step = 0; step < 60; ++step) {
            move({(step * 37) % 640, (step * 53) % 470});
            bandSeen = bandSeen || image() != before;
        }
        QVERIFY(bandSeen);
        move({300, 200});
        QVERIFY(image() == before);
    }

    void staleBandAfterARepaint()
    {
        choose(QStringLiteral("mnuLinie"));
        click({50, 50});
        move({150, 50});
        QCOMPARE(pixel({100, 50}), 0);
        m_window->Form_Paint();
        QCOMPARE(pixel({100, 50}), White);
        QCOMPARE(m_window->iPaintMode, PaintMode::LinieBand);
        QCOMPARE(m_window->sLastX, 2250.0f);
        QCOMPARE(m_window->sLastY, 750.0f);
        // The old band comes back once, the new one follows the mouse.
        move({150, 100});
        QCOMPARE(pixel({100, 50}), 0);
        QCOMPARE(pixel({100, 75}), 0);
        move({150, 150});
        QCOMPARE(pixel({100, 50}), 0);
        QCOMPARE(pixel({100, 75}), White);
        QCOMPARE(pixel({100, 100}), 0);
        m_window->Form_Paint();
        QCOMPARE(pixel({100, 50}), White);
    }

    void movesOutsideTheBandStatesDrawNothing()
    {
        const QImage before = image();
        for (PaintMode::Value mode : {PaintMode::NoTool, PaintMode::PunktTool, PaintMode::LinieAnchor,
                                      PaintMode::RechteckAnchor, PaintMode::KreisAnchor, PaintMode::TextTool}) {
            m_window->iPaintMode = mode;
            move({100, 100});
            move({200, 150});
        }
        QVERIFY(image() == before);
    }

    void theLabelKeepsTheMouse()
    {
        QLabel *label = m_window->label();
        const QPoint overLabel = label->geometry().center();
        // Two placements and Undo: one shape left, Undo disabled.
        for (const QPoint p : {QPoint(20, 20), QPoint(40, 20)}) {
            choose(QStringLiteral("mnuPunkt"));
            click(p);
        }
        m_window->mnuRueckgaengig->trigger();
        QCOMPARE(count(), 1);
        QVERIFY(!m_window->mnuRueckgaengig->isEnabled());

        choose(QStringLiteral("mnuPunkt"));
        QTest::mouseClick(label, Qt::LeftButton);
        click(overLabel);
        QCOMPARE(count(), 1);
        QCOMPARE(m_window->iPaintMode, PaintMode::PunktTool);
        QVERIFY(!m_window->mnuRueckgaengig->isEnabled());

        choose(QStringLiteral("mnuLinie"));
        click({300, 200});
        move({320, 40});
        const QImage before = image();
        move({10, 5}, label);
        move(overLabel);
        QVERIFY(image() == before);
        QCOMPARE(m_window->sLastX, 320.0f * 15);
        QCOMPARE(m_window->sLastY, 40.0f * 15);
    }
    void circleOverflowIsShownAndAddsNothing()
    {
        choose(QStringLiteral("mnuKreis"));
        click({10, 10});
        // An anchor so far out that the radius to any point overflows a 32-bit float.
        m_window->sStartX = -3.0e38f;
        m_window->sStartY = 3.0e38f;
        m_dialogs->expectMessage(PlatformDialogs::Answer::Ok);
        click({20, 20});
        QCOMPARE(m_dialogs->messages().size(), 1);
        QCOMPARE(m_dialogs->messages().first().text, QStringLiteral("Überlauf"));
        QCOMPARE(count(), 0);
        QVERIFY(!m_window->mnuRueckgaengig->isEnabled());
    }
};

QTEST_MAIN(tst_frmZeichnen_Mouse)
#include "tst_frmZeichnen_Mouse.moc"
