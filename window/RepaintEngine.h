#pragma once
// The main window's repaint engine: the drawing area's pixel buffer, the shape index, and the
// full and partial repaints of the document, put off while a drawing is read.

#include "document/ObjectData.h"
#include "platform/RasterSurface.h"
#include "shapes/DrawingSurface.h"
#include "window/ShapeIndex.h"

#include <QRect>
#include <QSize>
#include <memory>

// The window draws through it as through its buffer: figures drawn while a repaint is put off
// would be erased by it, so they are not drawn.
class RepaintEngine : public DrawingSurface
{
public:
    // The document is the window's, replaced by New, Open and Undo; the engine only reads it.
    RepaintEngine(const std::unique_ptr<ObjectData> &document, QSize pixels);

    const RasterSurface &surface() const { return mSurface; }

    // --- DrawingSurface; setBackColor erases the whole buffer ---
    std::int16_t getDrawMode() const override { return mSurface.getDrawMode(); }
    void setDrawMode(std::int16_t mode) override { mSurface.setDrawMode(mode); }
    std::int32_t getForeColor() const override { return mSurface.getForeColor(); }
    void setForeColor(std::int32_t color) override { mSurface.setForeColor(color); }
    std::int32_t getBackColor() const override { return mSurface.getBackColor(); }
    void setBackColor(std::int32_t color) override;
    void setCurrentX(float x) override { mSurface.setCurrentX(x); }
    void setCurrentY(float y) override { mSurface.setCurrentY(y); }
    void PSet(float x, float y, std::int32_t color) override;
    void Line(float x1, float y1, float x2, float y2, std::int32_t color) override;
    void Circle(float x, float y, float radius) override;
    void Print(const QString &text) override;
    float TextWidth(const QString &text) const override { return mSurface.TextWidth(text); }

    // DrawAll with DrawMode::Repaint, or put off while a drawing is read. The repaint that ends
    // a placement: where it can, only the area that changed is drawn again.
    void repaint();
    // DrawAll with DrawMode::Repaint, drawn from the last shape back where that gives the same
    // result sooner.
    void drawAll();
    // DrawAll with DrawMode::Repaint after the document's drawing was replaced by one whose first
    // `kept` shapes have the values of the first shapes drawn before: where it can, only where
    // the others reach is drawn again.
    void drawReplaced(std::size_t kept);
    // Reading a drawing: no input is handled meanwhile (a long read's progress window is modal),
    // so the placements' repaints can wait until the end. Pairs may nest (a file read while a drawing is brought back): the outermost end repaints.
    void beginReading();
    void endReading();
    // What changed in the buffer since the last call, to be shown; ends the event's drawing.
    QRect takeChanges();
    // Keeps the pixels drawn; true when the area grew, so that the drawing must be drawn again.
    bool resize(QSize pixels);

    void setCoalescing(bool on) { mCoalescing = on; }
    void setShortcuts(bool on) { mShortcuts = on; }

private:
    std::size_t shapeCount() const { return mDocument ? mDocument->getBasisklassen().size() : 0; }

    const std::unique_ptr<ObjectData> &mDocument;
    RasterSurface mSurface;
    ShapeIndex mShapeIndex;
    bool mCoalescing = true;
    bool mShortcuts = true;
    int mReading = 0; // how many readings are under way
    bool mPending = false;
    bool mDrawnWhole = false; // the buffer was erased for a full repaint in this event
};
