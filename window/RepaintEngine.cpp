#include "window/RepaintEngine.h"

#include "shapes/DrawMode.h"

RepaintEngine::RepaintEngine(const std::unique_ptr<ObjectData> &document, QSize pixels)
    : mDocument(document), mSurface(pixels)
{
}

void RepaintEngine::setBackColor(std::int32_t color)
{
    mSurface.setBackColor(color);
    mDrawnWhole = true;
    mShapeIndex.erased(shapeCount(), mSurface.getForeColor());
}

// A repaint is pending only while a drawing is read, and there every placement ends with one: what
// is drawn before it would be erased, so it is not drawn. Colours and modes still change.
void RepaintEngine::PSet(float x, float y, std::int32_t color)
{
    if (!mPending)
        mSurface.PSet(x, y, color);
}

void RepaintEngine::Line(float x1, float y1, float x2, float y2, std::int32_t color)
{
    if (!mPending)
        mSurface.Line(x1, y1, x2, y2, color);
}

void RepaintEngine::Circle(float x, float y, float radius)
{
    if (!mPending)
        mSurface.Circle(x, y, radius);
}

void RepaintEngine::Print(const QString &text)
{
    if (!mPending)
        mSurface.Print(text);
}

void RepaintEngine::repaint()
{
    if (mReading > 0 && mCoalescing) {
        mPending = true;
        return;
    }
    const QRect changed = mSurface.takeChangedRect();
    if (mShortcuts && mShapeIndex.repaintAppended(mDocument->getBasisklassen(), mSurface, changed))
        mSurface.takeChangedRect();
    else
        drawAll();
}

void RepaintEngine::drawAll()
{
    const ObjectData::Collection &shapes = mDocument->getBasisklassen();
    if (mShortcuts && shapes.size() >= ShapeIndex::CoveringFrom) {
        ObjectData::erase(*this);
        if (mShapeIndex.coverWhole(shapes, mSurface))
            return;
    }
    mDocument->DrawAll(*this, DrawMode::Repaint);
}

void RepaintEngine::drawReplaced(std::size_t kept)
{
    // While a drawing is read the buffer may lack placements whose repaint was put off.
    const QRect changed = mSurface.takeChangedRect();
    if (mShortcuts && mReading == 0
        && mShapeIndex.repaintReplaced(mDocument->getBasisklassen(), kept, mSurface, changed)) {
        mSurface.takeChangedRect();
        return;
    }
    mShapeIndex.forget();
    drawAll();
}

void RepaintEngine::beginReading()
{
    ++mReading;
}

void RepaintEngine::endReading()
{
    if (--mReading == 0 && mPending) {
        mPending = false;
        drawAll();
    }
}

QRect RepaintEngine::takeChanges()
{
    // A full repaint ends the drawing that an event does; what is in the buffer now is the drawing.
    if (mDrawnWhole && mDocument) {
        mDrawnWhole = false;
        mSurface.takeChangedRect();
        mShapeIndex.drawnWhole(mDocument->getBasisklassen(), mSurface);
    }
    return mSurface.takeDirtyRect();
}

bool RepaintEngine::resize(QSize pixels)
{
    const QSize old = mSurface.size();
    if (pixels == old)
        return false;
    mSurface.resize(pixels);
    return pixels.width() > old.width() || pixels.height() > old.height();
}
