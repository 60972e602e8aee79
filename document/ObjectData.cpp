#include "document/ObjectData.h"

#include "shapes/SkizzarError.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

void ObjectData::AddObject(std::shared_ptr<Basisklasse> unserObject)
{
    if (!unserObject)
        throw std::invalid_argument("ObjectData::AddObject: no shape given");
    changedFrom(mBasisklassen.size());
    mBasisklassen.push_back(std::move(unserObject));
}

std::size_t ObjectData::indexOf(std::int32_t iNummer) const
{
    if (iNummer < 1 || static_cast<std::size_t>(iNummer) > mBasisklassen.size())
        throw IndexError(iNummer);
    return static_cast<std::size_t>(iNummer) - 1;
}

void ObjectData::DeleteObject(std::int32_t iNummer)
{
    const std::size_t index = indexOf(iNummer);
    const bool last = index + 1 == mBasisklassen.size();
    mBasisklassen.erase(mBasisklassen.begin() + static_cast<std::ptrdiff_t>(index));
    mSnapshotOutdated = true;
    if (last)
        mSameAsDrawing = std::min(mSameAsDrawing, index);
    else
        changedFrom(index);
}

void ObjectData::changedFrom(std::size_t index)
{
    mSameAsDrawing = std::min(mSameAsDrawing, index);
    mSameBeforeCut = mSameAsDrawing;
}

void ObjectData::SelectObject(std::int32_t iNummer)
{
    const std::size_t index = indexOf(iNummer);
    mBasisklassen[index]->setSelected(true);
    changedFrom(index);
}

void ObjectData::DeSelectObject(std::int32_t iNummer)
{
    const std::size_t index = indexOf(iNummer);
    mBasisklassen[index]->setSelected(false);
    changedFrom(index);
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
        mSameAsDrawing = 0;
    }
    for (; mSavedShapes < mBasisklassen.size(); ++mSavedShapes) {
        if (std::shared_ptr<Basisklasse> copy = mBasisklassen[mSavedShapes]->copy(mCopyBlocks)) {
            mBasisklassenSave.push_back(std::move(copy));
            // The copy stands at its shape's position only while the snapshot is as long as the
            // part of the drawing it describes: a shape not copied, or an Undo cut short, leaves
            // every later copy off.
            if (mSameAsDrawing == mSavedShapes && mBasisklassenSave.size() == mSavedShapes + 1)
                ++mSameAsDrawing;
        }
    }
    mSameBeforeCut = mSameAsDrawing;
    return mBasisklassen.size() == mBasisklassenSave.size();
}

bool ObjectData::ReturnOldCollection()
{
    // The drawing is let go before the copies are made: they then take the memory its shapes
    // gave back, and a large drawing does not need room for itself twice. A copy that fails
    // leaves the copies made so far, a drawing with shapes removed, while the snapshot stays
    // whole and Undo enabled: Undo again brings it all back, and so does Undo after a placement
    // there, since the drawing is counted as the snapshot's first shapes at every step and the
    // snapshot keeps the rest.
    const std::size_t kept = std::min(mSameBeforeCut, mBasisklassenSave.size());
    mKeptShapes = 0;
    // clear() keeps the room for the pointers, which the copies fill again.
    mBasisklassen.clear();
    mBasisklassen.reserve(mBasisklassenSave.size());
    mSavedShapes = mSameAsDrawing = mSameBeforeCut = 0;
    mSnapshotOutdated = false;
    for (const std::shared_ptr<Basisklasse> &saved : mBasisklassenSave) {
        if (std::shared_ptr<Basisklasse> copy = saved->copy(mShapeBlocks)) {
            mBasisklassen.push_back(std::move(copy));
            mSavedShapes = mSameAsDrawing = mSameBeforeCut = mBasisklassen.size();
        }
    }
    mKeptShapes = kept;

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
    mSameAsDrawing = mSameBeforeCut = 0;
    mKeptShapes = 0;
}
