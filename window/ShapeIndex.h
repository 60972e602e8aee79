#pragma once
// Where in the drawing area each shape may set pixels, so that the repaint after a placement redraws only what it must.

#include "document/ObjectData.h"
#include "platform/RasterSurface.h"

#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>
#include <vector>

// The area is cut into square cells; each cell lists, in drawing order, the shapes that may set
// its pixels (a circle only under the cells its outline passes), and keeps the box of what they
// reach in it: the rest of the cell no shape sets. Built from the drawing as it was drawn last
// and brought up to date as shapes are appended, or cut back to the first shapes when the drawing
// is replaced by one that begins with the same (also when an empty drawing was drawn between, as
// New leaves it); any other change of the drawing builds it afresh.
class ShapeIndex
{
public:
    // The surface was erased to draw the first `count` shapes whole, with the given ForeColor.
    void erased(std::size_t count, std::int32_t foreColor);
    // After the full repaints since the last call: from now on the index stands for the drawing.
    void drawnWhole(const ObjectData::Collection &shapes, const RasterSurface &surface);

    // The repaint after the last shape was appended, with the same result as erasing the
    // surface and drawing every shape in order: pixels, ForeColor and current position. The
    // buffer holds that result for all shapes but the last, except in `changed`; there the
    // shapes that reach it are drawn again, from the last back to the first until every pixel
    // is taken, and the new shape on top; so are shapes appended without being drawn. False,
    // with nothing drawn that a full repaint would not draw over, when only a full repaint gives
    // that result: a drawing changed otherwise since, a shape that does not tell its effect on
    // the surface, or colour glyphs in the area.
    bool repaintAppended(const ObjectData::Collection &shapes, RasterSurface &surface,
                         const QRect &changed);

    // The repaint after the drawing was replaced by one whose first `kept` shapes have the values
    // of the first shapes it knew, with the same result as erasing the surface and drawing every
    // shape in order: only where the shapes it knew after those reached, where the new drawing's
    // shapes after them reach, and in `changed` are shapes drawn again; after an empty drawing
    // was drawn, the whole area, by covering from the shapes it knew before. False, with nothing
    // drawn that a full repaint would not draw over, when only a full repaint gives that result
    // or it would cost as much; the index must then be forgotten.
    bool repaintReplaced(const ObjectData::Collection &shapes, std::size_t kept, RasterSurface &surface,
                         const QRect &changed);

    // The drawing it stands for is gone, and new shapes may even sit where its shapes were: the
    // next full repaint builds it afresh.
    void forget() { mReplaced = true; }

    // The full repaint's result on a surface just erased: pixels, ForeColor and current
    // position. Every shape sets the pixels it reaches whatever was there, so only the last to
    // reach a pixel decides it: the shapes are drawn from the last back until every pixel is
    // taken, those that no shape reaches taken first; when an eighth of them leaves a few cells
    // unfilled, each of those goes on alone with the shapes it lists. False when only drawing
    // every shape in order gives that result (a shape that does not tell its effect, colour
    // glyphs); the surface is then to be erased again. Either way the index then stands for
    // the drawing.
    bool coverWhole(const ObjectData::Collection &shapes, RasterSurface &surface);
    // Below this many shapes, drawing each in order costs less than the two passes over the
    // surface that covering takes.
    static constexpr std::size_t CoveringFrom = 1024;

private:
    static constexpr int CellSize = 128;            // pixels
    static constexpr std::ptrdiff_t FetchAhead = 8; // entries

    // Whether the first `count` shapes begin with those it knows.
    bool follows(const ObjectData::Collection &shapes, std::size_t count) const;
    void rebuild(const ObjectData::Collection &shapes, std::size_t count, const RasterSurface &surface);
    // Forgets every shape from position `count` on; returns the box of the cells' parts they reached.
    QRect truncate(std::size_t count, const ObjectData::Collection &shapes);
    // After the indexed shapes were drawn, but in `area`: draws it as the full repaint of the
    // indexed shapes leaves it, with the ForeColor and text position that repaint leaves.
    bool repaintIndexed(const ObjectData::Collection &shapes, RasterSurface &surface, QRect area);
    // What drawing the indexed shapes in order leaves: the ForeColor (foreColor where none sets
    // it) and where the last print was.
    std::int32_t colourAfter(const ObjectData::Collection &shapes, std::int32_t foreColor) const;
    std::optional<QPointF> lastPrinted(const ObjectData::Collection &shapes) const;
    // Returns the shape's reach.
    QRect append(const std::shared_ptr<Basisklasse> &shape, const RasterSurface &surface);
    // Lists the shape in the cell, which it reaches in `part`.
    void file(int row, int column, const QRect &part, std::int32_t position);
    // Calls visit with every indexed shape whose cells meet the area, from the last to the
    // first, while it returns true.
    template <typename Visit>
    void forShapesReaching(const QRect &area, Visit &&visit) const;
    // The area as the full repaint leaves it, drawn with the indexed shapes that reach it from
    // the last back until every pixel is taken; shapes before any that sets the ForeColor print
    // in foreColor. False when colour glyphs spoilt it.
    bool coverArea(const ObjectData::Collection &shapes, RasterSurface &surface, const QRect &area,
                   std::int32_t foreColor) const;
    // Draws shape i while covering, printing in the colour it finds in order; true while pixels
    // are left to take and no colour glyphs spoilt the covering.
    bool drawCovering(const ObjectData::Collection &shapes, RasterSurface &surface, std::uint32_t i,
                      std::int32_t foreColor, bool &spoilt) const;
    // While covering: the pixels of the area that no indexed shape reaches take the BackColor.
    void coverUnreached(const QRect &area, RasterSurface &surface) const;

    // A box inside a cell, its edges counted from the cell's first pixel: a quarter of a QRect,
    // as a large drawing files millions of them.
    struct Part
    {
        std::uint8_t left, top, right, bottom;
    };
    static_assert(CellSize <= 256);
    // A shape listed in a cell, and where it reaches into the cell.
    struct Entry
    {
        std::uint32_t shape;
        Part part;
    };
    struct Cell
    {
        std::vector<Entry> entries;
        QRect reached;
    };
    // The cell at that index, in pixels.
    QRect cellRect(std::size_t index) const;
    const std::vector<Entry> &entriesOf(const QRect &cell) const
    {
        return mCells[static_cast<std::size_t>(cell.top() / CellSize) * mColumns + cell.left() / CellSize].entries;
    }
    static QRect unpacked(const Part &part, const QRect &cell)
    {
        return {QPoint(cell.left() + part.left, cell.top() + part.top), QPoint(cell.left() + part.right, cell.top() + part.bottom)};
    }

    QSize mSize;
    int mColumns = 0;
    std::vector<Cell> mCells;
    // Of each shape: whether it prints in the ForeColor it finds, and the last shape at or before
    // it that sets the ForeColor, -1 when none.
    std::vector<bool> mPrints;
    std::vector<std::int32_t> mLastColourSetter;
    // The first and the last shape indexed, to notice a drawing that changed otherwise.
    const Basisklasse *mFirst = nullptr;
    const Basisklasse *mLast = nullptr;
    std::int32_t mLastPrinter = -1;
    // Shapes that print before the first that sets the ForeColor take the one the repaint began with.
    std::int32_t mDrawnForeColor = 0;
    QRect mEarlyPrints;
    // Shapes whose effect on the surface is not known.
    std::size_t mUnknown = 0;
    // A drawing with fewer shapes than indexed was drawn since: Open, New or Undo replaced it,
    // and new shapes may even sit where old ones were.
    bool mReplaced = false;
    // And that drawing was empty: the index still stands for the drawing drawn before, which
    // Undo may bring back.
    bool mEmptied = false;
};
