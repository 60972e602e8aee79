// The mouse tools of the main window: the release state machine, the rubber band and the placements.

#include "window/frmZeichnen.h"

#include <QAction>

namespace {

// A kind's first tool state: each kind takes one state per click, counted from 1 in the table's
// order; a two-click kind's second state shows the band and waits for the second click.
constexpr std::int16_t firstState(std::size_t index)
{
    std::int16_t state = 1;
    for (std::size_t i = 0; i < index; ++i)
        state = std::int16_t(state + AllShapeKinds[i]->clicks);
    return state;
}
static_assert(firstState(kindIndex(Punkt::kind)) == PaintMode::PunktTool
              && firstState(kindIndex(Linie::kind)) == PaintMode::LinieAnchor
              && firstState(kindIndex(Rechteck::kind)) == PaintMode::RechteckAnchor
              && firstState(kindIndex(Kreis::kind)) == PaintMode::KreisAnchor
              && firstState(kindIndex(Text::kind)) == PaintMode::TextTool);

// The kind whose tool waits in paintMode, and for which of its clicks (from 0); null if none.
const ShapeKind *toolOf(std::int16_t paintMode, int &click)
{
    for (std::size_t i = 0; i < std::size(AllShapeKinds); ++i) {
        click = paintMode - firstState(i);
        if (click >= 0 && click < AllShapeKinds[i]->clicks)
            return AllShapeKinds[i];
    }
    return nullptr;
}

} // namespace

void frmZeichnen::connectToolCommands()
{
    // The text's item asks for the text first, see mnuText_Click.
    for (std::size_t i = 0; i < std::size(AllShapeKinds); ++i)
        if (!AllShapeKinds[i]->takesText)
            connect(m_toolItems[i], &QAction::triggered, this, [this, i] {
                guarded([this, i] {
                    setMousePointer(MousePointer::CrossHair);
                    iPaintMode = firstState(i);
                });
            });
}

void frmZeichnen::Form_MouseUp(std::int16_t Button, std::int16_t, float X, float Y)
{
    guarded([&] {
        int click = 0;
        const ShapeKind *kind = Button == 1 ? toolOf(iPaintMode, click) : nullptr;
        if (kind && click + 1 < kind->clicks) {
            sStartX = sLastX = X;
            sStartY = sLastY = Y;
            ++iPaintMode;
            // The first band, of length zero.
            placeKind(*kind, {sStartX, sStartY, X, Y}, DrawMode::Band);
        } else if (kind && kind->clicks == 2) {
            placeKind(*kind, {sStartX, sStartY, X, Y});
        } else if (kind) {
            placeKind(*kind, {X, Y, 0, 0, tmpText});
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
        int click = 0;
        const ShapeKind *kind = toolOf(iPaintMode, click);
        if (!kind || click == 0)
            return;
        // Drawing the previous band again in the inverting mode removes it.
        placeKind(*kind, {sStartX, sStartY, sLastX, sLastY}, DrawMode::Band);
        placeKind(*kind, {sStartX, sStartY, X, Y}, DrawMode::Band);
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

void frmZeichnen::placeKind(const ShapeKind &kind, ShapePlacement placement, std::int16_t iDrawMode)
{
    // A one-click kind always places; a band's shape is made on its own, as it is dropped once drawn.
    const bool placing = kind.clicks == 1 || iDrawMode == DrawMode::Place;
    placement.color = lColor;
    placement.font = tmpFont;
    placement.fontSize = tmpFontSize;
    std::shared_ptr<Basisklasse> shape = kind.make(placing ? &oObjectData->shapeBlocks() : nullptr, placement);
    if (!kind.takesText)
        shape->Draw(*this, placing ? std::int16_t(DrawMode::Place) : iDrawMode);
    if (!placing)
        return;
    placeShape(std::move(shape));
    if (!recording())
        return;
    RecoveryEntry entry(RecoveryEntry::Placement(kindIndex(kind) + 1), placement.x1, placement.y1, placement.x2,
                        placement.y2, lColor);
    if (kind.takesText) {
        entry.text = placement.text;
        entry.font = tmpFont;
        entry.fontSize = tmpFontSize;
    }
    record(entry);
}
