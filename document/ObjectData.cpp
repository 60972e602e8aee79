#include "document/ObjectData.h"

#include "shapes/SkizzarError.h"

#include <limits>
#include <stdexcept>

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
    mBasisklassen[indexOf(iNummer)]->setSelected(true);
}

void ObjectData::DeSelectObject(std::int32_t iNummer)
{
    mBasisklassen[indexOf(iNummer)]->setSelected(false);
}

void ObjectData::erase(DrawingSurface &oObject)
{
    const std::int32_t b = oObject.getBackColor();
    if (b == std::numeric_limits<std::int32_t>::max())
        throw OverflowError();
    // Setting the colour erases the surface; a different colour first makes sure it really does.
    oObject.setBackColor(b + 1);
    oObject.setBackColor(b);
}

void ObjectData::DrawAll(DrawingSurface &oObject, std::int16_t iDrawMode)
{
    erase(oObject);
    for (const std::shared_ptr<Basisklasse> &shape : mBasisklassen)
        shape->Draw(oObject, iDrawMode);
}

bool ObjectData::SaveOldCollection()
{
    if (mSnapshotOutdated) {
        mBasisklassenSave.clear();
        mCopyBlocks = ShapeBlocks();
        mSavedShapes = 0;
        mSnapshotOutdated = false;
    }
    for (; mSavedShapes < mBasisklassen.size(); ++mSavedShapes) {
        if (std::shared_ptr<Basisklasse> copy = mBasisklassen[mSavedShapes]->copy(mCopyBlocks))
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
        if (std::shared_ptr<Basisklasse> copy = saved->copy(mShapeBlocks))
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
    mShapeBlocks = ShapeBlocks();
    mCopyBlocks = ShapeBlocks();
    mSavedShapes = 0;
    mSnapshotOutdated = false;
}
