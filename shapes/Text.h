#pragma once
// A line of text placed with its top-left corner at a position.

#include "shapes/Shape.h"

#include <QString>

class Text : public Shape
{
public:
    // The text tool and the TEXT entity.
    static std::shared_ptr<Basisklasse> place(ShapeBlocks *blocks, const ShapePlacement &placement);
    static constexpr ShapeKind::DxfGroup dxfGroups[] = {{1, ShapeKind::DxfValue::Text}};
    static constexpr ShapeKind kind{"Text", "mnuText", "&Text", 1, true, "TEXT", dxfGroups, nullptr, &place};

    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    void Rotate(double) override {}
    void Distore(float, float) override {}
    void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override { return copied(*this, blocks); }
    void writeDxf(DxfEntitySink &sink) const override;
    std::optional<SurfaceEffect> surfaceEffect() const override { return SurfaceEffect{std::nullopt, QPointF(mX1, mY1)}; }
    QRect reach(const PixelReach &surface) const override { return surface.textReach(mText, mX1, mY1); }

    QString getText() const { return mText; }
    void setText(const QString &strText) { mText = strText; }
    QString getFont() const { return mFont; }
    void setFont(const QString &strFont) { mFont = strFont; }
    std::int32_t getFontSize() const { return mFontSize; }
    void setFontSize(std::int32_t mlFont) { mFontSize = mlFont; }

private:
    void print(DrawingSurface &oObject) const;

    QString mText;
    QString mFont;
    std::int32_t mFontSize = 0;
};
