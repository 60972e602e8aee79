// The mouse tools of the main window: the release state machine, the rubber band and the placements.

#include "window/frmZeichnen.h"

#include "shapes/Checked.h"
#include "shapes/DrawMode.h"
#include "shapes/Kreis.h"
#include "shapes/Linie.h"
#include "shapes/Punkt.h"
#include "shapes/Rechteck.h"
#include "shapes/Text.h"

#include <QAction>
#include <cmath>

namespace {

double finiteOrOverflow(double value)
{
    if (!std::isfinite(value))
        throw OverflowError();
    return value;
}

// A tool that places its shape with two clicks: the menu item that chooses it, the state that
// waits for the first click (the anchor), the state that shows the band and waits for the second,
// and the placement operation that draws the band (DrawMode::Band) and places the shape (DrawMode::Place).
struct TwoPointTool
{
    QAction *frmZeichnen::*menuItem;
    PaintMode::Value anchor;
    PaintMode::Value band;
    void (frmZeichnen::*place)(const float &, const float &, const float &, const float &,
                               const std::int16_t &);
};

constexpr TwoPointTool TwoPointTools[] = {
    {&frmZeichnen::mnuLinie, PaintMode::LinieAnchor, PaintMode::LinieBand, &frmZeichnen::PaintLinie},
    {&frmZeichnen::mnuRechteck, PaintMode::RechteckAnchor, PaintMode::RechteckBand,
     &frmZeichnen::PaintRechteck},
    {&frmZeichnen::mnuKreis, PaintMode::KreisAnchor, PaintMode::KreisBand, &frmZeichnen::PaintKreis},
};

// The two-point tool whose anchor or band state (as state says) is paintMode; null if none.
const TwoPointTool *twoPointTool(std::int16_t paintMode, PaintMode::Value TwoPointTool::*state)
{
    for (const TwoPointTool &tool : TwoPointTools)
        if (tool.*state == paintMode)
            return &tool;
    return nullptr;
}

} // namespace

void frmZeichnen::connectToolCommands()
{
    connect(mnuPunkt, &QAction::triggered, this,
            [this] { guarded([this] { selectTool(PaintMode::PunktTool); }); });
    for (const TwoPointTool &tool : TwoPointTools)
        connect(this->*tool.menuItem, &QAction::triggered, this,
                [this, &tool] { guarded([this, &tool] { selectTool(tool.anchor); }); });
}

void frmZeichnen::selectTool(PaintMode::Value paintMode)
{
    setMousePointer(MousePointer::CrossHair);
    iPaintMode = paintMode;
}

void frmZeichnen::Form_MouseUp(std::int16_t Button, std::int16_t, float X, float Y)
{
    guarded([&] {
        if (Button == 1) {
            if (const TwoPointTool *tool = twoPointTool(iPaintMode, &TwoPointTool::anchor)) {
                sStartX = sLastX = X;
                sStartY = sLastY = Y;
                iPaintMode = tool->band;
                // The first band, of length zero.
                (this->*tool->place)(sStartX, sStartY, X, Y, DrawMode::Band);
            } else if (const TwoPointTool *tool = twoPointTool(iPaintMode, &TwoPointTool::band)) {
                (this->*tool->place)(sStartX, sStartY, X, Y, DrawMode::Place);
            } else if (iPaintMode == PaintMode::PunktTool) {
                PaintPunkt(X, Y);
            } else if (iPaintMode == PaintMode::TextTool) {
                PaintText(X, Y, tmpText, DrawMode::Place);
            }
        }
        if (Button == 2) {
            iPaintMode = PaintMode::NoTool;
            setMousePointer(MousePointer::Arrow);
        }
        mnuRueckgaengig->setEnabled(oObjectData->GetNumberOfObjects() != 0);
    });
}

void frmZeichnen::Form_MouseMove(std::int16_t, std::int16_t, float X, float Y)
{
    guarded([&] {
        const TwoPointTool *tool = twoPointTool(iPaintMode, &TwoPointTool::band);
        if (!tool)
            return;
        // Drawing the previous band again in the inverting mode removes it.
        (this->*tool->place)(sStartX, sStartY, sLastX, sLastY, DrawMode::Band);
        (this->*tool->place)(sStartX, sStartY, X, Y, DrawMode::Band);
        sLastX = X;
        sLastY = Y;
    });
}

void frmZeichnen::placeShape(std::shared_ptr<Basisklasse> shape)
{
    oObjectData->SaveOldCollection();
    oObjectData->AddObject(std::move(shape));
    repaintDrawing();
    iPaintMode = PaintMode::NoTool;
    setMousePointer(MousePointer::Arrow);
}

template <typename T>
std::shared_ptr<T> frmZeichnen::newShape(std::int16_t iDrawMode)
{
    return iDrawMode == DrawMode::Place ? oObjectData->newShape<T>() : std::make_shared<T>();
}

void frmZeichnen::drawOrPlace(std::shared_ptr<Basisklasse> shape, std::int16_t iDrawMode)
{
    shape->Draw(*this, iDrawMode);
    if (iDrawMode == DrawMode::Place)
        placeShape(std::move(shape));
}

void frmZeichnen::PaintPunkt(const float &x, const float &y)
{
    auto shape = oObjectData->newShape<Punkt>();
    shape->setX1(x);
    shape->setY1(y);
    shape->setColor(lColor);
    shape->Draw(*this, DrawMode::Place);
    placeShape(std::move(shape));
    recordPlacement(RecoveryEntry::Placement::Punkt, x, y);
}

void frmZeichnen::PaintLinie(const float &x1, const float &y1, const float &x2, const float &y2,
                             const std::int16_t &iDrawMode)
{
    auto shape = newShape<Linie>(iDrawMode);
    shape->setX1(x1);
    shape->setY1(y1);
    shape->setX2(x2);
    shape->setY2(y2);
    shape->setColor(lColor);
    drawOrPlace(std::move(shape), iDrawMode);
    if (iDrawMode == DrawMode::Place)
        recordPlacement(RecoveryEntry::Placement::Linie, x1, y1, x2, y2);
}

void frmZeichnen::PaintKreis(const float &x1, const float &y1, const float &x2, const float &y2,
                             const std::int16_t &iDrawMode)
{
    const double dx = finiteOrOverflow(std::abs(static_cast<double>(x1) - x2));
    const double dy = finiteOrOverflow(std::abs(static_cast<double>(y1) - y2));
    const double sum = finiteOrOverflow(finiteOrOverflow(dy * dy) + finiteOrOverflow(dx * dx));
    const float radius = Checked::single(finiteOrOverflow(std::sqrt(sum)));

    auto shape = newShape<Kreis>(iDrawMode);
    shape->setX1(x1);
    shape->setY1(y1);
    shape->setRadius(radius);
    shape->setColor(lColor);
    drawOrPlace(std::move(shape), iDrawMode);
    if (iDrawMode == DrawMode::Place)
        recordPlacement(RecoveryEntry::Placement::Kreis, x1, y1, x2, y2);
}

void frmZeichnen::PaintRechteck(const float &x1, const float &y1, const float &x2, const float &y2,
                                const std::int16_t &iDrawMode)
{
    auto shape = newShape<Rechteck>(iDrawMode);
    shape->setX1(x1);
    shape->setY1(y1);
    shape->setX3(x2);
    shape->setY3(y2);
    shape->setX2(x2);
    shape->setY2(y1);
    shape->setX4(x1);
    shape->setY4(y2);
    shape->setColor(lColor);
    drawOrPlace(std::move(shape), iDrawMode);
    if (iDrawMode == DrawMode::Place)
        recordPlacement(RecoveryEntry::Placement::Rechteck, x1, y1, x2, y2);
}

void frmZeichnen::PaintText(const float &x, const float &y, const QString &strText, const std::int16_t &)
{
    auto shape = oObjectData->newShape<Text>();
    shape->setX1(x);
    shape->setY1(y);
    shape->setColor(lColor);
    shape->setText(strText);
    shape->setFont(tmpFont);
    shape->setFontSize(Checked::integer32(tmpFontSize));
    placeShape(std::move(shape));
    RecoveryEntry entry(RecoveryEntry::Placement::Text, x, y, 0, 0, lColor);
    entry.text = strText;
    entry.font = tmpFont;
    entry.fontSize = tmpFontSize;
    record(entry);
}

void frmZeichnen::recordPlacement(RecoveryEntry::Placement placement, float x1, float y1, float x2, float y2)
{
    record({placement, x1, y1, x2, y2, lColor});
}
