// Reading a drawing with its repaints coalesced gives exactly what repainting after every placement gives.

#include "document/ObjectData.h"
#include "support/DrawingText.h"
#include "support/ScriptedDialogs.h"
#include "support/TestWindows.h"
#include "window/DrawingCanvas.h"
#include "window/frmZeichnen.h"

#include <QAction>
#include <QDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes a few hundred entities of every kind, with colours, inside and beyond the visible area.
bool writeDrawingOfEveryKind(const QString &path)
{
    QRandomGenerator random(20261207);
    auto coordinate = [&random] { return QByteArray::number(random.bounded(-1000, 11000)); };
    // Y is written negated.
    auto y = [&random] { return QByteArray::number(-random.bounded(-1000, 8000)); };
    // The first text comes before any circle: it shows the foreground colour left from before.
    QByteArray dxf = "0\r\nSECTION\r\n2\r\nENTITIES\r\n"
                     "0\r\nTEXT\r\n8\r\n0\r\n10\r\n1500\r\n20\r\n-1500\r\n1\r\nErster Text\r\n";
    for (int i = 0; i < 400; ++i) {
        const QByteArray colour = QByteArray::number(random.bounded(0x1000000));
        switch (i % 5) {
        case 0:
            dxf += "0\r\nPOINT\r\n8\r\n0\r\n10\r\n" + coordinate() + "\r\n20\r\n" + y() + "\r\n62\r\n"
                   + colour + "\r\n";
            break;
        case 1:
            dxf += "0\r\nLINE\r\n8\r\n0\r\n10\r\n" + coordinate() + "\r\n20\r\n" + y() + "\r\n11\r\n"
                   + coordinate() + "\r\n21\r\n" + y() + "\r\n";
            break;
        case 2:
            dxf += "0\r\nCIRCLE\r\n8\r\n0\r\n10\r\n" + coordinate() + "\r\n20\r\n" + y()
                   + "\r\n40\r\n" + QByteArray::number(random.bounded(3000)) + "\r\n62\r\n" + colour + "\r\n";
            break;
        case 3:
            // Texts take the foreground colour that the last circle left.
            dxf += "0\r\nTEXT\r\n8\r\n0\r\n10\r\n" + coordinate() + "\r\n20\r\n" + y()
                   + "\r\n7\r\n\r\n40\r\n 0 \r\n1\r\nText " + QByteArray::number(i) + "\r\n";
            break;
        default:
            dxf += " 0\r\nLINE\r\n8\r\n0\r\n10\r\n" + coordinate() + "\r\n20\r\n" + y()
                   + "\r\n11\r\n" + coordinate() + "\r\n21\r\n" + y() + "\r\n62\r\n" + colour + "\r\n";
            break;
        }
    }
    dxf += "0\r\nENDSEC\r\n0\r\nEOF\r\n";
    return TestWindows::writeFile(path, dxf);
}

} // namespace

class tst_RepaintWhileReading : public QObject
{
    Q_OBJECT

private slots:
    void coalescedReadingEqualsRepaintingAfterEveryPlacement()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("alles.dxf"));
        QVERIFY(writeDrawingOfEveryKind(path));

        struct Result
        {
            QImage image;
            std::int32_t foreColor;
            std::int32_t lColor;
            QStringList drawing;
            QStringList snapshot;
            bool undoEnabled;
            QString title;
        };
        auto open = [&path](bool coalesce) {
            auto dialogs = std::make_shared<ScriptedDialogs>();
            auto window = TestWindows::startMainWindow(dialogs);
            window->setRepaintCoalescing(coalesce);
            // Something placed by hand first, so the snapshot and colours have a history.
            window->lColor = 0x00FF00;
            window->PaintKreis(3000.0f, 3000.0f, 3600.0f, 3000.0f, 1);
            window->PaintText(150.0f, 150.0f, QStringLiteral("vorher"), 1);
            dialogs->expectMessage(PlatformDialogs::Answer::No);
            dialogs->expectOpenFile(path);
            window->mnuOeffnen->trigger();
            Result r{window->surface().image(), window->getForeColor(), window->lColor,
                     DrawingText::lines(window->oObjectData->getBasisklassen()),
                     DrawingText::lines(window->oObjectData->getBasisklassenSave()),
                     window->mnuRueckgaengig->isEnabled(), window->windowTitle()};
            [&] { QVERIFY(dialogs->allAnswered()); }();
            return r;
        };

        const Result literal = open(false);
        const Result coalesced = open(true);
        QCOMPARE(coalesced.drawing.size(), 401);
        QCOMPARE(coalesced.drawing, literal.drawing);
        QCOMPARE(coalesced.snapshot, literal.snapshot);
        QCOMPARE(coalesced.foreColor, literal.foreColor);
        QCOMPARE(coalesced.lColor, literal.lColor);
        QCOMPARE(coalesced.undoEnabled, literal.undoEnabled);
        QCOMPARE(coalesced.title, literal.title);
        QVERIFY(coalesced.image == literal.image);
        // The texts were printed, and the last circle's colour is the foreground colour.
        QVERIFY(literal.foreColor != 0x00FF00);
    }

    void bandOverALoadedDrawingLeavesItAsItWas()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("band.dxf"));
        QVERIFY(writeDrawingOfEveryKind(path));

        auto dialogs = std::make_shared<ScriptedDialogs>();
        auto window = TestWindows::startMainWindow(dialogs);
        dialogs->expectMessage(PlatformDialogs::Answer::No);
        dialogs->expectOpenFile(path);
        window->mnuOeffnen->trigger();
        const QImage before = window->surface().image();

        using Placement = void (frmZeichnen::*)(const float &, const float &, const float &, const float &,
                                                const std::int16_t &);
        for (const auto &[tool, place] : {std::pair<QAction *, Placement>{window->mnuLinie, &frmZeichnen::PaintLinie},
                                          {window->mnuRechteck, &frmZeichnen::PaintRechteck},
                                          {window->mnuKreis, &frmZeichnen::PaintKreis}}) {
            tool->trigger();
            DrawingCanvas *canvas = window->canvas();
            QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(300, 200));
            for (int i = 0; i < 40; ++i)
                QTest::mouseMove(canvas, QPoint(20 + i * 15, 30 + (i * 37) % 400));
            QVERIFY(window->surface().image() != before);
            // What the next move would do first: draw the last band again, which removes it.
            ((*window).*place)(window->sStartX, window->sStartY, window->sLastX, window->sLastY, 10);
            QVERIFY(window->surface().image() == before);
            QTest::mouseClick(canvas, Qt::RightButton, {}, QPoint(300, 200));
        }
        QVERIFY(dialogs->allAnswered());
    }
};

QTEST_MAIN(tst_RepaintWhileReading)
#include "tst_RepaintWhileReading.moc"
