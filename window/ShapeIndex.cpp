#include "window/ShapeIndex.h"

#include "shapes/DrawMode.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <queue>

namespace {

// Covers the area while it lives, also when a shape's drawing throws (out of memory), so that
// the surface never stays restricted to the pixels nothing has taken.
class Covering
{
public:
    Covering(RasterSurface &surface, const QRect &area) : mSurface(surface) { surface.beginCovering(area); }
    ~Covering() { mSurface.endCovering(); }
    Covering(const Covering &) = delete;
    Covering &operator=(const Covering &) = delete;

private:
    RasterSurface &mSurface;
};

// Leaves ForeColor and the text position as drawing every shape in order does: the colour of the
// last shape that sets it, the line below where the last print was, or where they were when the
// repaint began.
void finishAsInOrder(RasterSurface &surface, std::int32_t colour, const std::optional<QPointF> &lastPrint,
                     float currentX, float currentY)
{
    surface.setForeColor(colour);
    if (lastPrint) {
        surface.setCurrentX(static_cast<float>(lastPrint->x()));
        surface.setCurrentY(static_cast<float>(lastPrint->y()));
        surface.Print(QString());
    } else {
        surface.setCurrentX(currentX);
        surface.setCurrentY(currentY);
    }
}

// The box round both, which are not empty: QRect's operator| is a call into Qt, made for
// every shape of a large drawing.
QRect joined(const QRect &a, const QRect &b)
{
    return {QPoint(std::min(a.left(), b.left()), std::min(a.top(), b.top())),
            QPoint(std::max(a.right(), b.right()), std::max(a.bottom(), b.bottom()))};
}

} // namespace

void ShapeIndex::erased(std::size_t count, std::int32_t foreColor)
{
    mDrawnForeColor = foreColor;
    mReplaced = mReplaced || count < mPrints.size();
}

void ShapeIndex::drawnWhole(const ObjectData::Collection &shapes, const RasterSurface &surface)
{
    if (shapes.empty() && mReplaced)
        mEmptied = true;
    else if (mReplaced || !follows(shapes, shapes.size()) || surface.size() != mSize)
        rebuild(shapes, shapes.size(), surface);
    else
        for (std::size_t i = mPrints.size(); i < shapes.size(); ++i)
            append(shapes[i], surface);
}

bool ShapeIndex::follows(const ObjectData::Collection &shapes, std::size_t count) const
{
    // Between full repaints the drawing only grows; a drawing replaced otherwise than through a
    // full repaint of fewer shapes shows at its first or last shape.
    return mPrints.size() <= count
           && (mPrints.empty()
               || (mFirst == shapes.front().get() && mLast == shapes[mPrints.size() - 1].get()));
}

void ShapeIndex::rebuild(const ObjectData::Collection &shapes, std::size_t count,
                         const RasterSurface &surface)
{
    mSize = surface.size();
    mColumns = (mSize.width() + CellSize - 1) / CellSize;
    const int rows = (mSize.height() + CellSize - 1) / CellSize;
    mCells.assign(static_cast<std::size_t>(mColumns) * rows, {});
    mPrints.clear();
    mLastColourSetter.clear();
    mFirst = mLast = nullptr;
    mReplaced = mEmptied = false;
    mLastPrinter = -1;
    mEarlyPrints = QRect();
    mUnknown = 0;
    mPrints.reserve(count);
    mLastColourSetter.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        append(shapes[i], surface);
}

QRect ShapeIndex::append(const std::shared_ptr<Basisklasse> &shape, const RasterSurface &surface)
{
    const auto position = static_cast<std::int32_t>(mPrints.size());
    const std::optional<Basisklasse::SurfaceEffect> effect = shape->surfaceEffect();
    const bool prints = effect && effect->printsAt;
    const std::int32_t before = mLastColourSetter.empty() ? -1 : mLastColourSetter.back();
    mLastColourSetter.push_back(effect && effect->foreColor ? position : before);
    if (prints)
        mLastPrinter = position;
    mUnknown += !effect;
    mPrints.push_back(prints);
    if (!mFirst)
        mFirst = shape.get();
    mLast = shape.get();

    // One whose effect is not known is drawn by a full repaint anyway.
    const QRect box = effect ? shape->reach(surface) : QRect(QPoint(0, 0), surface.size());
    if (box.isEmpty())
        return box;
    if (prints && before < 0)
        mEarlyPrints = mEarlyPrints.isEmpty() ? box : joined(mEarlyPrints, box);
    const int top = box.top() / CellSize, bottom = box.bottom() / CellSize;
    const int left = box.left() / CellSize, right = box.right() / CellSize;
    if (top == bottom && left == right) {
        file(top, left, box, position);
        return box;
    }
    // Only a shape over three cells or more each way can leave whole cells of its box alone, as
    // a large circle leaves its inside: it is asked row by row, then cell by cell.
    const bool asked = effect && bottom - top >= 2 && right - left >= 2;
    for (int row = top; row <= bottom; ++row) {
        const QRect band(QPoint(box.left(), std::max(box.top(), row * CellSize)),
                         QPoint(box.right(), std::min(box.bottom(), row * CellSize + CellSize - 1)));
        if (asked && !shape->reaches(surface, band))
            continue;
        for (int column = left; column <= right; ++column) {
            const QRect part(QPoint(std::max(box.left(), column * CellSize), band.top()),
                             QPoint(std::min(box.right(), column * CellSize + CellSize - 1), band.bottom()));
            if (!asked || shape->reaches(surface, part))
                file(row, column, part, position);
        }
    }
    return box;
}

void ShapeIndex::file(int row, int column, const QRect &part, std::int32_t position)
{
    Cell &cell = mCells[static_cast<std::size_t>(row) * mColumns + column];
    const int left = column * CellSize, top = row * CellSize;
    cell.entries.push_back({static_cast<std::uint32_t>(position),
                            {static_cast<std::uint8_t>(part.left() - left), static_cast<std::uint8_t>(part.top() - top),
                             static_cast<std::uint8_t>(part.right() - left), static_cast<std::uint8_t>(part.bottom() - top)}});
    cell.reached = cell.entries.size() == 1 ? part : joined(cell.reached, part);
}

QRect ShapeIndex::cellRect(std::size_t index) const
{
    const auto row = static_cast<int>(index / static_cast<std::size_t>(mColumns));
    const auto column = static_cast<int>(index % static_cast<std::size_t>(mColumns));
    return {column * CellSize, row * CellSize, CellSize, CellSize};
}

template <typename Visit>
void ShapeIndex::forShapesReaching(const QRect &area, Visit &&visit) const
{
    // The cells' lists ascend; merged from their ends, the shapes come from the last.
    struct Cursor
    {
        const std::vector<Entry> *list;
        std::size_t next; // one past the next entry to take
        bool operator<(const Cursor &other) const
        {
            return (*list)[next - 1].shape < (*other.list)[other.next - 1].shape;
        }
    };
    const QRect cells(QPoint(area.left() / CellSize, area.top() / CellSize),
                      QPoint(area.right() / CellSize, area.bottom() / CellSize));
    if (cells.width() == 1 && cells.height() == 1) {
        const auto &list = mCells[static_cast<std::size_t>(cells.top()) * mColumns + cells.left()].entries;
        for (auto entry = list.crbegin(); entry != list.crend() && visit(entry->shape); ++entry) {
        }
        return;
    }
    std::priority_queue<Cursor> queue;
    for (int row = cells.top(); row <= cells.bottom(); ++row)
        for (int column = cells.left(); column <= cells.right(); ++column) {
            const auto &list = mCells[static_cast<std::size_t>(row) * mColumns + column].entries;
            if (!list.empty())
                queue.push({&list, list.size()});
        }
    std::uint32_t previous = std::numeric_limits<std::uint32_t>::max();
    while (!queue.empty()) {
        Cursor top = queue.top();
        queue.pop();
        const std::uint32_t shape = (*top.list)[top.next - 1].shape;
        if (--top.next > 0)
            queue.push(top);
        if (shape != previous && !visit(shape))
            return;
        previous = shape;
    }
}

void ShapeIndex::coverUnreached(const QRect &area, RasterSurface &surface) const
{
    const QRect inside = area & QRect(QPoint(0, 0), mSize);
    if (inside.isEmpty())
        return;
    for (int row = inside.top() / CellSize; row <= inside.bottom() / CellSize; ++row)
        for (int column = inside.left() / CellSize; column <= inside.right() / CellSize; ++column) {
            const QRect part = inside & QRect(column * CellSize, row * CellSize, CellSize, CellSize);
            const QRect reached = mCells[static_cast<std::size_t>(row) * mColumns + column].reached & part;
            if (reached.isEmpty()) {
                surface.coverUnreached(part);
                continue;
            }
            // Above and below the reached box, then beside it.
            surface.coverUnreached(QRect(QPoint(part.left(), part.top()), QPoint(part.right(), reached.top() - 1)));
            surface.coverUnreached(QRect(QPoint(part.left(), reached.bottom() + 1), QPoint(part.right(), part.bottom())));
            surface.coverUnreached(QRect(QPoint(part.left(), reached.top()), QPoint(reached.left() - 1, reached.bottom())));
            surface.coverUnreached(QRect(QPoint(reached.right() + 1, reached.top()), QPoint(part.right(), reached.bottom())));
        }
}

bool ShapeIndex::coverWhole(const ObjectData::Collection &shapes, RasterSurface &surface)
{
    // Each shape that prints does so in the colour of the last shape before it that sets the
    // ForeColor, or in the ForeColor the repaint began with.
    const std::int32_t foreColor = surface.getForeColor();
    const float currentX = surface.getCurrentX();
    const float currentY = surface.getCurrentY();
    drawnWhole(shapes, surface);
    if (mUnknown != 0)
        return false;

    bool spoilt = false;
    const auto draw = [&](std::uint32_t i) { return drawCovering(shapes, surface, i, foreColor, spoilt); };
    {
        const QRect whole(QPoint(0, 0), mSize);
        const Covering covering(surface, whole);
        coverUnreached(whole, surface);
        // Over the whole area first, in drawing order; once the shapes leave pixels open in only
        // a few cells (looked at after 4,096 shapes, then four times as many each time), or in
        // cells that list at most half as many shapes still to draw as are left, or an eighth of
        // them has left some in not too many, those cells go on alone, each with the shapes that
        // reach it.
        auto next = static_cast<std::uint32_t>(shapes.size());
        const std::uint32_t alone = next - std::min<std::uint32_t>(next, next / 8 + CoveringFrom);
        std::vector<QRect> open;
        std::size_t listed = 0; // by the open cells, of the shapes before next
        for (std::uint32_t step = 4 * CoveringFrom;; step *= 4) {
            const std::uint32_t stop = std::max(alone, next - std::min(next, step));
            while (next > stop && !surface.covered() && draw(next - 1))
                --next;
            if (spoilt || surface.covered())
                break;
            listed = 0;
            for (int top = 0; top < mSize.height(); top += CellSize)
                for (int left = 0; left < mSize.width(); left += CellSize) {
                    surface.narrowCovering(QRect(left, top, CellSize, CellSize));
                    if (surface.covered())
                        continue;
                    open.push_back(QRect(left, top, CellSize, CellSize));
                    const std::vector<Entry> &entries = entriesOf(open.back());
                    listed += std::partition_point(entries.begin(), entries.end(),
                                                   [next](const Entry &entry) { return entry.shape < next; })
                              - entries.begin();
                }
            if (next == alone || 8 * open.size() <= mCells.size() || 2 * listed < next)
                break;
            open.clear();
            surface.narrowCovering(whole);
        }
        if (2 * open.size() > mCells.size() && 2 * listed >= next) {
            surface.narrowCovering(whole);
            while (next > 0 && !surface.covered() && draw(next - 1))
                --next;
        } else {
            for (const QRect &cell : open) {
                // Only the shapes that reach where the cell's open pixels lie can take them.
                surface.narrowCovering(cell);
                const QRect box = surface.narrowToUncovered();
                const std::vector<Entry> &entries = entriesOf(cell);
                for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
                    // The shapes a cell lists lie far apart in memory: those a few entries on are
                    // fetched while this one is drawn.
                    if (entries.crend() - entry > 2 * FetchAhead)
                        __builtin_prefetch(&shapes[entry[2 * FetchAhead].shape]);
                    if (entries.crend() - entry > FetchAhead)
                        __builtin_prefetch(shapes[entry[FetchAhead].shape].get());
                    if (entry->shape < next && unpacked(entry->part, cell).intersects(box) && !draw(entry->shape))
                        break;
                }
                if (spoilt)
                    break;
            }
        }
    }
    if (spoilt)
        return false;
    finishAsInOrder(surface, colourAfter(shapes, foreColor), lastPrinted(shapes), currentX, currentY);
    return true;
}

bool ShapeIndex::coverArea(const ObjectData::Collection &shapes, RasterSurface &surface, const QRect &area,
                           std::int32_t foreColor) const
{
    const Covering covering(surface, area);
    coverUnreached(area, surface);
    bool spoilt = false;
    if (!surface.covered())
        forShapesReaching(area, [&](std::uint32_t i) { return drawCovering(shapes, surface, i, foreColor, spoilt); });
    return !spoilt;
}

bool ShapeIndex::drawCovering(const ObjectData::Collection &shapes, RasterSurface &surface, std::uint32_t i,
                              std::int32_t foreColor, bool &spoilt) const
{
    if (mPrints[i]) {
        const std::int32_t setter = mLastColourSetter[i];
        surface.setForeColor(setter < 0 ? foreColor : *shapes[setter]->surfaceEffect()->foreColor);
    }
    shapes[i]->Draw(surface, DrawMode::Repaint);
    spoilt = surface.coverSpoilt();
    return !surface.covered() && !spoilt;
}

bool ShapeIndex::repaintAppended(const ObjectData::Collection &shapes, RasterSurface &surface,
                                 const QRect &changed)
{
    if (shapes.empty() || surface.getBackColor() == std::numeric_limits<std::int32_t>::max())
        return false;
    const std::size_t before = shapes.size() - 1;
    if (mReplaced || !follows(shapes, before) || surface.size() != mSize)
        return false;
    // Shapes appended without a repaint are not in the buffer yet.
    QRect undrawn;
    for (std::size_t i = mPrints.size(); i < before; ++i)
        undrawn |= append(shapes[i], surface);
    if (mUnknown != 0 || !repaintIndexed(shapes, surface, changed | undrawn))
        return false;
    // Then the new one on top.
    shapes.back()->Draw(surface, DrawMode::Repaint);
    append(shapes.back(), surface);
    return true;
}

bool ShapeIndex::repaintIndexed(const ObjectData::Collection &shapes, RasterSurface &surface, QRect area)
{
    const std::int32_t foreColor = surface.getForeColor();
    const float currentX = surface.getCurrentX();
    const float currentY = surface.getCurrentY();
    if (foreColor != mDrawnForeColor)
        area |= mEarlyPrints;
    area &= QRect(QPoint(0, 0), mSize);
    mDrawnForeColor = foreColor;
    if (!area.isEmpty() && !coverArea(shapes, surface, area, foreColor))
        return false;
    finishAsInOrder(surface, colourAfter(shapes, foreColor), lastPrinted(shapes), currentX, currentY);
    return true;
}

std::int32_t ShapeIndex::colourAfter(const ObjectData::Collection &shapes, std::int32_t foreColor) const
{
    const std::int32_t lastSetter = mLastColourSetter.empty() ? -1 : mLastColourSetter.back();
    return lastSetter < 0 ? foreColor : *shapes[lastSetter]->surfaceEffect()->foreColor;
}

std::optional<QPointF> ShapeIndex::lastPrinted(const ObjectData::Collection &shapes) const
{
    return mLastPrinter >= 0 ? shapes[mLastPrinter]->surfaceEffect()->printsAt : std::nullopt;
}

QRect ShapeIndex::truncate(std::size_t count, const ObjectData::Collection &shapes)
{
    QRect removed;
    for (std::size_t index = 0; index < mCells.size(); ++index) {
        Cell &cell = mCells[index];
        const QRect rect = cellRect(index);
        // The lists ascend: the shapes forgotten stand at their ends.
        std::size_t keep = cell.entries.size();
        while (keep > 0 && cell.entries[keep - 1].shape >= count)
            removed |= unpacked(cell.entries[--keep].part, rect);
        if (keep == cell.entries.size())
            continue;
        cell.entries.resize(keep);
        cell.reached = QRect();
        for (const Entry &entry : cell.entries)
            cell.reached |= unpacked(entry.part, rect);
    }
    mPrints.resize(count);
    mLastColourSetter.resize(count);
    while (mLastPrinter >= 0 && (static_cast<std::size_t>(mLastPrinter) >= count || !mPrints[mLastPrinter]))
        --mLastPrinter;
    // mEarlyPrints may keep boxes of shapes forgotten: it only widens what is drawn again.
    mFirst = count > 0 ? shapes.front().get() : nullptr;
    mLast = count > 0 ? shapes[count - 1].get() : nullptr;
    return removed;
}

bool ShapeIndex::repaintReplaced(const ObjectData::Collection &shapes, std::size_t kept, RasterSurface &surface,
                                 const QRect &changed)
{
    // Drawing more than the shapes kept again costs about what a full repaint does.
    const std::size_t count = std::min(kept, mPrints.size());
    if ((mReplaced && !mEmptied) || mUnknown != 0 || surface.size() != mSize
        || surface.getBackColor() == std::numeric_limits<std::int32_t>::max())
        return false;
    if (mEmptied) {
        // Cut back to the shapes kept, it stands for the new drawing's first shapes; a full
        // repaint covering from it files only the others.
        truncate(count, shapes);
        mReplaced = mEmptied = false;
        ObjectData::erase(surface);
        mDrawnForeColor = surface.getForeColor();
        return coverWhole(shapes, surface);
    }
    if (shapes.size() - count > count)
        return false;
    QRect area = changed | truncate(count, shapes);
    for (std::size_t i = count; i < shapes.size(); ++i)
        area |= append(shapes[i], surface);
    return mUnknown == 0 && repaintIndexed(shapes, surface, area);
}
