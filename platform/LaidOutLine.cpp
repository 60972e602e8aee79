#include "platform/LaidOutLine.h"

#include "platform/GlyphCache.h"

#include <QImage>
#include <QPainter>
#include <private/qtextengine_p.h>

LaidOutLine::LaidOutLine(const QString &text, const QFont &font) : mText(text)
{
    // The font and direction a painter on such a device hands its own layout of the line.
    QImage device = GlyphCache::canvas(QSize(1, 1));
    QPainter painter(&device);
    painter.setFont(font);
    mEngine = std::make_unique<QTextEngine>(mText, painter.font());
    mEngine->option.setTextDirection(painter.layoutDirection());
    painter.end();
    mEngine->itemize();

    const QScriptItemArray &items = mEngine->layoutData->items;
    const int count = static_cast<int>(items.size());
    std::vector<quint8> levels(count);
    for (int i = 0; i < count; ++i) {
        levels[i] = items[i].analysis.bidiLevel;
        mByItems = mByItems && items[i].analysis.flags != QScriptAnalysis::LineOrParagraphSeparator
                   && items[i].analysis.flags < QScriptAnalysis::TabOrObject;
    }
    mVisualOrder.resize(count);
    QTextEngine::bidiReorder(count, levels.data(), mVisualOrder.data());
}

LaidOutLine::~LaidOutLine() = default;

QString LaidOutLine::text(qsizetype i) const
{
    const int item = mVisualOrder[i];
    return mText.mid(mEngine->layoutData->items[item].position, mEngine->length(item));
}

Qt::LayoutDirection LaidOutLine::direction(qsizetype i) const
{
    return mEngine->layoutData->items[mVisualOrder[i]].analysis.bidiLevel % 2 ? Qt::RightToLeft
                                                                              : Qt::LeftToRight;
}

double LaidOutLine::advance(qsizetype i) const
{
    const int item = mVisualOrder[i];
    mEngine->shape(item);
    return mEngine->layoutData->items[item].width.toReal();
}
