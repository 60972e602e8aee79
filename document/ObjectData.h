#pragma once
// The drawing document: the ordered shapes of the drawing, three text defaults and the one-step undo.

#include "shapes/Basisklasse.h"
#include "shapes/DrawingSurface.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class ObjectData
{
public:
    using Collection = std::vector<std::shared_ptr<Basisklasse>>;

    // Read-only views of both collections. The shapes of the snapshot belong to the snapshot:
    // whoever looks at them must not change them. Nothing replaces either collection.
    const Collection &getBasisklassen() const { return mBasisklassen; }
    const Collection &getBasisklassenSave() const { return mBasisklassenSave; }

    // Where a placement makes its new shape, beside the drawing's other shapes.
    ShapeBlocks &shapeBlocks() { return mShapeBlocks; }

    // Stores the very object given (no copy). A null pointer is refused with
    // std::invalid_argument, so that every position always holds a shape that can be drawn.
    void AddObject(std::shared_ptr<Basisklasse> unserObject);
    std::int32_t GetNumberOfObjects() const { return static_cast<std::int32_t>(mBasisklassen.size()); }

    // Positions run from 1 to the count; any other raises IndexError and changes nothing.
    std::shared_ptr<Basisklasse> GetObject(std::int32_t iNummer) const { return mBasisklassen[indexOf(iNummer)]; }
    void DeleteObject(std::int32_t iNummer);
    // A plain Basisklasse has no selection flag and is left alone.
    void SelectObject(std::int32_t iNummer);
    void DeSelectObject(std::int32_t iNummer);

    // Erases the surface (BackColor + 1, then BackColor) and draws every shape in order.
    // A BackColor of 0x7FFFFFFF raises OverflowError before anything is changed.
    void DrawAll(DrawingSurface &oObject, std::int16_t iDrawMode);
    // DrawAll's erasing alone, with the same OverflowError.
    static void erase(DrawingSurface &oObject);

    QString getFont() const { return mFont; }
    void setFont(const QString &strFont) { mFont = strFont; }
    std::int32_t getFontSize() const { return mFontSize; }
    void setFontSize(std::int32_t mlFont) { mFontSize = mlFont; }
    std::int32_t getTextColor() const { return mTextColor; }
    void setTextColor(std::int32_t mlCol) { mTextColor = mlCol; }

    // Makes the snapshot the drawing as it is now, right before a shape is added: normally by
    // appending a copy of the drawing's last shape; after Undo nothing is missing; after a shape was
    // removed (New and Open empty the drawing) it starts afresh. True when both then hold equally
    // many shapes.
    bool SaveOldCollection();
    // Replaces the drawing by fresh copies of the whole snapshot, then calls the Undo disabler.
    // If a copy cannot be made the drawing holds the copies made so far, the snapshot stays whole
    // and the disabler is not called, so that Undo again rebuilds it all.
    bool ReturnOldCollection();
    // How many of the drawing's first shapes the last ReturnOldCollection gave the values the
    // drawing's first shapes had before it (as far as this document's operations changed them):
    // new objects, but the same drawing up to there. When shapes had only been taken off the
    // drawing's end since it last changed otherwise (New and Open empty it so), the values it had
    // before those removals. 0 after a copy failed.
    std::size_t keptShapes() const { return mKeptShapes; }

    // Releases the drawing and the snapshot, as when memory ran out.
    void clear();

    // The window's way to switch its Undo entry off at the end of ReturnOldCollection.
    void setUndoDisabler(std::function<void()> disable) { mUndoDisabler = std::move(disable); }

private:
    std::size_t indexOf(std::int32_t iNummer) const;
    // The drawing changed otherwise than by taking its last shape off, at that position.
    void changedFrom(std::size_t index);

    Collection mBasisklassen;
    Collection mBasisklassenSave;
    // The drawing's shapes and the snapshot's copies are kept apart, so that a repaint walks
    // the drawing's shapes in the order they were made.
    ShapeBlocks mShapeBlocks;
    ShapeBlocks mCopyBlocks;
    // How many of the drawing's first shapes the snapshot describes, and whether a shape has been
    // removed from the drawing since, which leaves the snapshot describing an earlier drawing.
    std::size_t mSavedShapes = 0;
    bool mSnapshotOutdated = false;
    // How many of the snapshot's first shapes are, position for position, copies of the drawing's
    // shapes as they are now.
    std::size_t mSameAsDrawing = 0;
    // The same, of the drawing as it was before shapes were last taken off its end.
    std::size_t mSameBeforeCut = 0;
    std::size_t mKeptShapes = 0;
    QString mFont;
    std::int32_t mFontSize = 0;
    std::int32_t mTextColor = 0;
    std::function<void()> mUndoDisabler;
};
