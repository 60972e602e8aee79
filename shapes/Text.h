#pragma once
// A line of text placed with its top-left corner at a position.

#include "shapes/Shape.h"

#include <QString>

class Text : public Shape
{
public:
    Text();

    // The text tool and the TEXT entity.
    static std::shared_ptr<Basisklasse> place(ShapeBlocks *blocks, const ShapePlacement &placement);
    static constexpr ShapeKind::DxfGroup dxfGroups[] = {{1, ShapeKind::DxfValue::Text}};
    static constexpr ShapeKind kind{"Text", "mnuText", "&Text", 1, true, "TEXT", dxfGroups, nullptr, &place};


    void Draw(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    void Rotate(double dNewAngle) override;
    void Distore(float sXPercentage, float sYPercentage) override;
    void DrawSelected(DrawingSurface &oObject, std::int16_t iDrawMode) override;
    std::shared_ptr<Basisklasse> copy(ShapeBlocks &blocks) const override;
    void writeDxf(DxfEntitySink &sink) const override;
    std::optional<SurfaceEffect> surfaceEffect() const override;
    QRect reach(const PixelReach &surface) const override;

    float getX1() const { return mX1; }
    void setX1(float sX1) { mX1 = sX1; }
    float getY1() const { return mY1; }
    void setY1(float sY1) { mY1 = sY1; }
    std::int32_t getColor() const { return mColor; }
    void setColor(std::int32_t mlCol) { mColor = mlCol; }
    bool getSelected() const { return mSelected; }
    void setSelected(bool bSel) override { mSelected = bSel; }
    QString getText() const { return mText; }
    void setText(const QString &strText) { mText = strText; }
    QString getFont() const { return mFont; }
    void setFont(const QString &strFont) { mFont = strFont; }
    std::int32_t getFontSize() const { return mFontSize; }
    void setFontSize(std::int32_t mlFont) { mFontSize = mlFont; }

private:
    void print(DrawingSurface &oObject) const;

    float mX1 = 0.0f;
    float mY1 = 0.0f;
    std::int32_t mColor = 0;
    bool mSelected = false;
    QString mText;
    QString mFont;
    std::int32_t mFontSize = 0;
};
