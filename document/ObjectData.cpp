#include "document/ObjectData.h"

#include "shapes/Kreis.h"
#include "shapes/Linie.h"
#include "shapes/Punkt.h"
#include "shapes/Rechteck.h"
#include "shapes/SkizzarError.h"
#include "shapes/Text.h"

#include <limits>
#include <stdexcept>

namespace {

// Applies setSelected to whichever of the five classes the shape is; Basisklasse has no flag.
void setSelectedFlag(Basisklasse &shape, bool bSel)
{
    if (auto *kreis = dynamic_cast<Kreis *>(&shape))
        kreis->setSelected(bSel);
    else if (auto *linie = dynamic_cast<Linie *>(&shape))
        linie->setSelected(bSel);
    else if (auto *text = dynamic_cast<Text *>(&shape))
        text->setSelected(bSel);
    else if (auto *rechteck = dynamic_cast<Rechteck *>(&shape))
        rechteck->setSelected(bSel);
    else if (auto *punkt = dynamic_cast<Punkt *>(&shape))
        punkt->setSelected(bSel);
}

} // namespace

void ObjectData::AddObject(std::shared_ptr<Basisklasse> unserObject)
{
    if (!unserObject)
        throw std::invalid_argument("ObjectData::AddObject: no shape given");
    mBasisklassen.push_back(std::move(unserObject));
}

std::int32_t ObjectData::GetNumberOfObjects() const
{
    return static_cast<std::int32_t>(mBasisklassen.size());
}

std::size_t ObjectData::indexOf(std::int32_t iNummer) const
{
    if (iNummer < 1 || static_cast<std::size_t>(iNummer) > mBasisklassen.size())
        throw IndexError(iNummer);
    return static_cast<std::size_t>(iNummer) - 1;
}

std::shared_ptr<Basisklasse> ObjectData::GetObject(std::int32_t iNummer) const
{
    return mBasisklassen[indexOf(iNummer)];
}

void ObjectData::DeleteObject(std::int32_t iNummer)
{
    const std::size_t index = indexOf(iNummer);
    mBasisklassen.erase(mBasisklassen.begin() + static_cast<std::ptrdiff_t>(index));
    mSnapshotOutdated = true;
}

void ObjectData::SelectObject(std::int32_t iNummer)
{
    setSelectedFlag(*mBasisklassen[indexOf(iNummer)], true);
}

void ObjectData::DeSelectObject(std::int32_t iNummer)
{
    setSelectedFlag(*mBasisklassen[indexOf(iNummer)], false);
}

void ObjectData::DrawAll(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    const std::int32_t b = oObject.getBackColor();
    if (b == std::numeric_limits<std::int32_t>::max())
        throw OverflowError();
    // Setting the colour erases the surface; a different colour first makes sure it really does.
    oObject.setBackColor(b + 1);
    oObject.setBackColor(b);
    for (const std::shared_ptr<Basisklasse> &shape : mBasisklassen)
        shape->Draw(oObject, iDrawMode);
}

std::shared_ptr<Basisklasse> ObjectData::copyShape(const Basisklasse &source)
{
    if (const auto *kreis = dynamic_cast<const Kreis *>(&source)) {
        auto copy = std::make_shared<Kreis>();
        copy->setX1(kreis->getX1());
        copy->setY1(kreis->getY1());
        copy->setRadius(kreis->getRadius());
        copy->setColor(kreis->getColor());
        copy->setSelected(kreis->getSelected());
        return copy;
    }
    if (const auto *linie = dynamic_cast<const Linie *>(&source)) {
        auto copy = std::make_shared<Linie>();
        copy->setX1(linie->getX1());
        copy->setY1(linie->getY1());
        copy->setX2(linie->getX2());
        copy->setY2(linie->getY2());
        copy->setColor(linie->getColor());
        copy->setSelected(linie->getSelected());
        return copy;
    }
    if (const auto *text = dynamic_cast<const Text *>(&source)) {
        auto copy = std::make_shared<Text>();
        copy->setX1(text->getX1());
        copy->setY1(text->getY1());
        copy->setColor(text->getColor());
        copy->setText(text->getText());
        copy->setFont(text->getFont());
        copy->setFontSize(text->getFontSize());
        copy->setSelected(text->getSelected());
        return copy;
    }
    if (const auto *rechteck = dynamic_cast<const Rechteck *>(&source)) {
        auto copy = std::make_shared<Rechteck>();
        copy->setX1(rechteck->getX1());
        copy->setY1(rechteck->getY1());
        copy->setX2(rechteck->getX2());
        copy->setY2(rechteck->getY2());
        copy->setX3(rechteck->getX3());
        copy->setY3(rechteck->getY3());
        copy->setX4(rechteck->getX4());
        copy->setY4(rechteck->getY4());
        copy->setColor(rechteck->getColor());
        copy->setSelected(rechteck->getSelected());
        return copy;
    }
    if (const auto *punkt = dynamic_cast<const Punkt *>(&source)) {
        auto copy = std::make_shared<Punkt>();
        copy->setX1(punkt->getX1());
        copy->setY1(punkt->getY1());
        copy->setColor(punkt->getColor());
        copy->setSelected(punkt->getSelected());
        return copy;
    }
    return nullptr;
}

bool ObjectData::SaveOldCollection()
{
    if (mSnapshotOutdated) {
        mBasisklassenSave.clear();
        mSavedShapes = 0;
        mSnapshotOutdated = false;
    }
    for (; mSavedShapes < mBasisklassen.size(); ++mSavedShapes) {
        if (std::shared_ptr<Basisklasse> copy = copyShape(*mBasisklassen[mSavedShapes]))
            mBasisklassenSave.push_back(std::move(copy));
    }
    return mBasisklassen.size() == mBasisklassenSave.size();
}

bool ObjectData::ReturnOldCollection()
{
    // All copies are made before the drawing is touched, so that a failed copy leaves the
    // drawing whole instead of half emptied and half rebuilt.
    Collection rebuilt;
    rebuilt.reserve(mBasisklassenSave.size());
    for (const std::shared_ptr<Basisklasse> &saved : mBasisklassenSave) {
        if (std::shared_ptr<Basisklasse> copy = copyShape(*saved))
            rebuilt.push_back(std::move(copy));
    }
    while (!mBasisklassen.empty())
        mBasisklassen.pop_back();
    mBasisklassen = std::move(rebuilt);
    mSavedShapes = mBasisklassen.size();
    mSnapshotOutdated = false;

    if (mUndoDisabler)
        mUndoDisabler();
    return true;
}

void ObjectData::clear()
{
    mBasisklassen.clear();
    mBasisklassenSave.clear();
    mSavedShapes = 0;
    mSnapshotOutdated = false;
}
