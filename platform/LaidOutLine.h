#pragma once
// Qt's layout of one long line of text, taken apart into Qt's own items in the order they stand on the line.

#include <QFont>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

class QTextEngine;

// Needs a QGuiApplication. Qt lays a line out as items of at most MaxItemLength UTF-16 units,
// each of one direction and script, shaped each by itself, reordered from left to right and
// drawn each where the advances of those before it end. Found here as QPainter::drawText finds
// them, with a 96-dots-per-inch painter's font and layout direction, but each item is shaped
// only when its advance is asked for: what a window shows of a line of a million characters is
// drawn from the few items that reach it, each drawn by itself as a line in its own direction.
class LaidOutLine
{
public:
    static constexpr qsizetype MaxItemLength = 4096;

    LaidOutLine(const QString &text, const QFont &font);
    ~LaidOutLine();
    LaidOutLine(const LaidOutLine &) = delete;
    LaidOutLine &operator=(const LaidOutLine &) = delete;

    // False when an item's advance depends on where the line puts it (a tab) or Qt draws the
    // line's items otherwise (embedded objects, line separators): then only the whole line is right.
    bool byItems() const { return mByItems; }
    // Items from left to right.
    qsizetype size() const { return static_cast<qsizetype>(mVisualOrder.size()); }
    QString text(qsizetype i) const;
    Qt::LayoutDirection direction(qsizetype i) const;
    // In pixels, a multiple of 1/64 as Qt adds them up.
    double advance(qsizetype i) const;

private:
    QString mText;
    std::unique_ptr<QTextEngine> mEngine;
    std::vector<int> mVisualOrder;
    bool mByItems = true;
};
