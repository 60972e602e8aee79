#include "window/ShapeIndex.h"

#include "shapes/Kreis.h"
#include "shapes/Linie.h"
#include "shapes/Punkt.h"
#include "shapes/Rechteck.h"
#include "shapes/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <typeinfo>

namespace {

// The pixel of a twip as the surface maps it; far or invalid values only need to stay far.
double pixelOf(float twips)
{
    return std::floor(static_cast<double>(twips) / RasterSurface::TwipsPerPixel + 0.5);
}

// Grows a box of pixels by points, ignoring those that are not finite (they draw nothing).
struct Box
{
    double left = std::numeric_limits<double>::infinity();
    double top = left;
    double right = -left;
    double bottom = -left;

    void add(float x, float y)
    {
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        left = std::min(left, pixelOf(x));
        right = std::max(right, pixelOf(x));
        top = std::min(top, pixelOf(y));
        bottom = std::max(bottom, pixelOf(y));
    }
    QRect clipped(QSize size, double margin) const
    {
        const auto clamp = [](double v, int hi) { return static_cast<int>(std::clamp(v, -1.0, double(hi))); };
        const QRect box(QPoint(clamp(left - margin, size.width()), clamp(top - margin, size.height())),
                        QPoint(clamp(right + margin, size.width()), clamp(bottom + margin, size.height())));
        return left <= right ? box & QRect(QPoint(0, 0), size) : QRect();
    }
};

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
// last circle, the line below the last text, or where they were when the repaint began.
void finishAsInOrder(RasterSurface &surface, std::int32_t colour, const Text *lastText, float currentX,
                     float currentY)
{
    surface.setForeColor(colour);
    if (lastText) {
        surface.setCurrentX(lastText->getX1());
        surface.setCurrentY(lastText->getY1());
        surface.Print(QString());
    } else {
        surface.setCurrentX(currentX);
        surface.setCurrentY(currentY);
    }
}

} // namespace

void ShapeIndex::erased(std::size_t count, std::int32_t foreColor)
{
    mDrawnForeColor = foreColor;
    mReplaced = mReplaced || count < mKinds.size();
}

void ShapeIndex::drawnWhole(const ObjectData::Collection &shapes, const RasterSurface &surface)
{
    if (mReplaced || !follows(shapes, shapes.size()) || surface.size() != mSize)
        rebuild(shapes, shapes.size(), surface);
    else
        for (std::size_t i = mKinds.size(); i < shapes.size(); ++i)
            append(shapes[i], surface);
}

bool ShapeIndex::follows(const ObjectData::Collection &shapes, std::size_t count) const
{
    // Between full repaints the drawing only grows; a drawing replaced otherwise than through a
    // full repaint of fewer shapes shows at its first or last shape.
    return mKinds.size() <= count
        && (mKinds.empty()
            || (mFirst == shapes.front().get() && mLast == shapes[mKinds.size() - 1].get()));
}

void ShapeIndex::rebuild(const ObjectData::Collection &shapes, std::size_t count,
                         const RasterSurface &surface)
{
    mSize = surface.size();
    mColumns = (mSize.width() + CellSize - 1) / CellSize;
    const int rows = (mSize.height() + CellSize - 1) / CellSize;
    mCells.assign(static_cast<std::size_t>(mColumns) * rows, {});
    mKinds.clear();
    mLastCircle.clear();
    mFirst = mLast = nullptr;
    mReplaced = false;
    mLastText = -1;
    mEarlyTexts = QRect();
    mOthers = 0;
    for (std::size_t i = 0; i < count; ++i)
        append(shapes[i], surface);
}

ShapeIndex::Kind ShapeIndex::kindOf(const Basisklasse &shape)
{
    // The very classes: a class derived from one of them may draw otherwise.
    const std::type_info &type = typeid(shape);
    if (type == typeid(Linie))
        return Kind::Line;
    if (type == typeid(Rechteck))
        return Kind::Rectangle;
    if (type == typeid(Punkt))
        return Kind::Point;
    if (type == typeid(Kreis))
        return Kind::Circle;
    if (type == typeid(Text))
        return Kind::Text;
    return Kind::Other;
}

QRect ShapeIndex::append(const std::shared_ptr<Basisklasse> &shape, const RasterSurface &surface)
{
    const auto position = static_cast<std::int32_t>(mKinds.size());
    const Kind kind = kindOf(*shape);
    const std::int32_t before = mLastCircle.empty() ? -1 : mLastCircle.back();
    mLastCircle.push_back(kind == Kind::Circle ? position : before);
    if (kind == Kind::Text)
        mLastText = position;
    mOthers += kind == Kind::Other;
    mKinds.push_back(kind);
    if (!mFirst)
        mFirst = shape.get();
    mLast = shape.get();

    const QRect box = reach(*shape, kind, surface);
    if (box.isEmpty())
        return box;
    if (kind == Kind::Text && before < 0)
        mEarlyTexts |= box;
    for (int row = box.top() / CellSize; row <= box.bottom() / CellSize; ++row)
        for (int column = box.left() / CellSize; column <= box.right() / CellSize; ++column)
            mCells[static_cast<std::size_t>(row) * mColumns + column].push_back(
                static_cast<std::uint32_t>(position));
    return box;
}

QRect ShapeIndex::reach(const Basisklasse &shape, Kind kind, const RasterSurface &surface)
{
    Box box;
    double margin = 1.0;
    switch (kind) {
    case Kind::Point: {
        const auto &punkt = static_cast<const Punkt &>(shape);
        box.add(punkt.getX1(), punkt.getY1());
        break;
    }
    case Kind::Line: {
        const auto &linie = static_cast<const Linie &>(shape);
        box.add(linie.getX1(), linie.getY1());
        box.add(linie.getX2(), linie.getY2());
        break;
    }
    case Kind::Rectangle: {
        const auto &rechteck = static_cast<const Rechteck &>(shape);
        box.add(rechteck.getX1(), rechteck.getY1());
        box.add(rechteck.getX2(), rechteck.getY2());
        box.add(rechteck.getX3(), rechteck.getY3());
        box.add(rechteck.getX4(), rechteck.getY4());
        break;
    }
    case Kind::Circle: {
        const auto &kreis = static_cast<const Kreis &>(shape);
        if (!std::isfinite(kreis.getRadius()))
            return QRect();
        box.add(kreis.getX1(), kreis.getY1());
        margin += std::abs(static_cast<double>(kreis.getRadius())) / RasterSurface::TwipsPerPixel;
        break;
    }
    case Kind::Text: {
        // Glyphs reach beyond the line and beyond their advances by less than its height.
        const auto &text = static_cast<const Text &>(shape);
        box.add(text.getX1(), text.getY1());
        if (box.left <= box.right)
            box.right += surface.TextWidth(text.getText()) / RasterSurface::TwipsPerPixel;
        margin += 3.0 * surface.lineHeight();
        break;
    }
    case Kind::Other:
        return QRect(QPoint(0, 0), surface.size()); // drawn by a full repaint anyway
    }
    return box.clipped(surface.size(), margin);
}

template <typename Visit>
void ShapeIndex::forShapesReaching(const QRect &area, Visit &&visit) const
{
    // The cells' lists ascend; merged from their ends, the shapes come from the last.
    struct Cursor
    {
        const std::vector<std::uint32_t> *list;
        std::size_t next; // one past the next entry to take
        bool operator<(const Cursor &other) const
        {
            return (*list)[next - 1] < (*other.list)[other.next - 1];
        }
    };
    std::priority_queue<Cursor> queue;
    const QRect cells(QPoint(area.left() / CellSize, area.top() / CellSize),
                      QPoint(area.right() / CellSize, area.bottom() / CellSize));
    for (int row = cells.top(); row <= cells.bottom(); ++row)
        for (int column = cells.left(); column <= cells.right(); ++column) {
            const auto &list = mCells[static_cast<std::size_t>(row) * mColumns + column];
            if (!list.empty())
                queue.push({&list, list.size()});
        }
    std::uint32_t previous = std::numeric_limits<std::uint32_t>::max();
    while (!queue.empty()) {
        Cursor top = queue.top();
        queue.pop();
        const std::uint32_t shape = (*top.list)[top.next - 1];
        if (--top.next > 0)
            queue.push(top);
        if (shape != previous && !visit(shape))
            return;
        previous = shape;
    }
}

bool ShapeIndex::coverWhole(const ObjectData::Collection &shapes, RasterSurface &surface)
{
    // Each text is drawn in the colour of the last circle before it, or in the ForeColor the
    // repaint began with.
    std::int32_t colour = surface.getForeColor();
    std::vector<std::int32_t> textColours;
    const Text *lastText = nullptr;
    for (const std::shared_ptr<Basisklasse> &shape : shapes) {
        switch (kindOf(*shape)) {
        case Kind::Other:
            return false;
        case Kind::Circle:
            colour = static_cast<const Kreis &>(*shape).getColor();
            break;
        case Kind::Text:
            textColours.push_back(colour);
            lastText = static_cast<const Text *>(shape.get());
            break;
        default:
            break;
        }
    }
    const float currentX = surface.getCurrentX();
    const float currentY = surface.getCurrentY();

    bool spoilt = false;
    {
        const Covering covering(surface, QRect(QPoint(0, 0), surface.size()));
        auto textColour = textColours.crbegin();
        for (auto shape = shapes.crbegin(); shape != shapes.crend() && !surface.covered(); ++shape) {
            if (kindOf(**shape) == Kind::Text)
                surface.setForeColor(*textColour++);
            (*shape)->Draw(surface, 13);
            spoilt = surface.coverSpoilt();
            if (spoilt)
                break;
        }
    }
    if (spoilt)
        return false;

    finishAsInOrder(surface, colour, lastText, currentX, currentY);
    return true;
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
    for (std::size_t i = mKinds.size(); i < before; ++i)
        undrawn |= append(shapes[i], surface);
    if (mOthers != 0)
        return false;
    const std::int32_t foreColor = surface.getForeColor();
    const float currentX = surface.getCurrentX();
    const float currentY = surface.getCurrentY();
    const auto colourBefore = [&](std::int32_t lastCircle) {
        return lastCircle < 0 ? foreColor : static_cast<const Kreis &>(*shapes[lastCircle]).getColor();
    };

    QRect area = changed | undrawn;
    if (foreColor != mDrawnForeColor)
        area |= mEarlyTexts;
    area &= QRect(QPoint(0, 0), mSize);
    mDrawnForeColor = foreColor;
    if (!area.isEmpty()) {
        bool spoilt = false;
        {
            const Covering covering(surface, area);
            forShapesReaching(area, [&](std::uint32_t i) {
                if (mKinds[i] == Kind::Text)
                    surface.setForeColor(colourBefore(mLastCircle[i]));
                shapes[i]->Draw(surface, 13);
                spoilt = surface.coverSpoilt();
                return !surface.covered() && !spoilt;
            });
        }
        if (spoilt)
            return false;
    }
    // What the full repaint leaves after the shapes before the new one, then the new one.
    const auto *lastText = mLastText >= 0 ? static_cast<const Text *>(shapes[mLastText].get()) : nullptr;
    finishAsInOrder(surface, colourBefore(mLastCircle.empty() ? -1 : mLastCircle.back()), lastText,
                    currentX, currentY);
    shapes.back()->Draw(surface, 13);
    append(shapes.back(), surface);
    return true;
}
