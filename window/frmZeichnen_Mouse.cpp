// The mouse tools of the main window: the release state machine, the rubber band and the placements.

#include "window/frmZeichnen.h"

#include "shapes/Checked.h"
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

} // namespace

void frmZeichnen::Form_MouseUp(std::int16_t Button, std::int16_t, float X, float Y)
{
    auto takeAnchor = [this](float X, float Y, std::int16_t nextMode) {
        sStartX = sLastX = X;
        sStartY = sLastY = Y;
        iPaintMode = nextMode;
    };
    guarded([&] {
        if (Button == 1) {
            switch (iPaintMode) {
            case 1:
                PaintPunkt(X, Y);
                break;
            case 2:
                takeAnchor(X, Y, 3);
                PaintLinie(sStartX, sStartY, X, Y, 10);
                break;
            case 4:
                takeAnchor(X, Y, 5);
                PaintRechteck(sStartX, sStartY, X, Y, 10);
                break;
            case 6:
                takeAnchor(X, Y, 7);
                PaintKreis(sStartX, sStartY, X, Y, 10);
                break;
            case 3:
                PaintLinie(sStartX, sStartY, X, Y, 1);
                break;
            case 5:
                PaintRechteck(sStartX, sStartY, X, Y, 1);
                break;
            case 7:
                PaintKreis(sStartX, sStartY, X, Y, 1);
                break;
            case 8:
                PaintText(X, Y, tmpText, 1);
                break;
            default:
                break;
            }
        }
        if (Button == 2) {
            iPaintMode = 0;
            setMousePointer(1);
        }
        mnuRueckgaengig->setEnabled(oObjectData->GetNumberOfObjects() != 0);
    });
}

void frmZeichnen::Form_MouseMove(std::int16_t, std::int16_t, float X, float Y)
{
    guarded([&] {
        // Drawing the previous band again in the inverting mode removes it.
        switch (iPaintMode) {
        case 3:
            PaintLinie(sStartX, sStartY, sLastX, sLastY, 10);
            PaintLinie(sStartX, sStartY, X, Y, 10);
            break;
        case 5:
            PaintRechteck(sStartX, sStartY, sLastX, sLastY, 10);
            PaintRechteck(sStartX, sStartY, X, Y, 10);
            break;
        case 7:
            PaintKreis(sStartX, sStartY, sLastX, sLastY, 10);
            PaintKreis(sStartX, sStartY, X, Y, 10);
            break;
        default:
            return;
        }
        sLastX = X;
        sLastY = Y;
    });
}

void frmZeichnen::placeShape(std::shared_ptr<Basisklasse> shape)
{
    oObjectData->SaveOldCollection();
    oObjectData->AddObject(std::move(shape));
    repaintDrawing();
    iPaintMode = 0;
    setMousePointer(1);
}

void frmZeichnen::drawOrPlace(std::shared_ptr<Basisklasse> shape, std::int16_t iDrawMode)
{
    shape->Draw(*this, iDrawMode);
    if (iDrawMode == 1)
        placeShape(std::move(shape));
}

void frmZeichnen::PaintPunkt(const float &x, const float &y)
{
    auto shape = std::make_shared<Punkt>();
    shape->setX1(x);
    shape->setY1(y);
    shape->setColor(lColor);
    shape->Draw(*this, 1);
    placeShape(std::move(shape));
}

void frmZeichnen::PaintLinie(const float &x1, const float &y1, const float &x2, const float &y2,
                             const std::int16_t &iDrawMode)
{
    auto shape = std::make_shared<Linie>();
    shape->setX1(x1);
    shape->setY1(y1);
    shape->setX2(x2);
    shape->setY2(y2);
    shape->setColor(lColor);
    drawOrPlace(std::move(shape), iDrawMode);
}

void frmZeichnen::PaintKreis(const float &x1, const float &y1, const float &x2, const float &y2,
                             const std::int16_t &iDrawMode)
{
    const double dx = finiteOrOverflow(std::abs(static_cast<double>(x1) - x2));
    const double dy = finiteOrOverflow(std::abs(static_cast<double>(y1) - y2));
    const double sum = finiteOrOverflow(finiteOrOverflow(dy * dy) + finiteOrOverflow(dx * dx));
    const float radius = Checked::single(finiteOrOverflow(std::sqrt(sum)));

    auto shape = std::make_shared<Kreis>();
    shape->setX1(x1);
    shape->setY1(y1);
    shape->setRadius(radius);
    shape->setColor(lColor);
    drawOrPlace(std::move(shape), iDrawMode);
}

void frmZeichnen::PaintRechteck(const float &x1, const float &y1, const float &x2, const float &y2,
                                const std::int16_t &iDrawMode)
{
    auto shape = std::make_shared<Rechteck>();
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
}

void frmZeichnen::PaintText(const float &x, const float &y, const QString &strText, const std::int16_t &)
{
    auto shape = std::make_shared<Text>();
    shape->setX1(x);
    shape->setY1(y);
    shape->setColor(lColor);
    shape->setText(strText);
    shape->setFont(tmpFont);
    shape->setFontSize(Checked::integer32(tmpFontSize));
    placeShape(std::move(shape));
}
