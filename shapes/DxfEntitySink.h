#pragma once
// Where a shape writes its DXF entities: it names the groups, the sink writes and formats the lines.

#include <QString>
#include <cstdint>

class DxfEntitySink
{
public:
    virtual ~DxfEntitySink() = default;

    // Starts an entity: its first line ("0", or " 0" where a block begins so), its type, layer "0".
    virtual void beginEntity(const char *first, const char *type) = 0;
    // A point as two groups: xCode with x, yCode with y negated, since the file's y axis points up.
    virtual void point(const char *xCode, const char *yCode, float x, float y) = 0;
    virtual void number(const char *code, float value) = 0;
    virtual void number(const char *code, std::int32_t value) = 0;
    virtual void text(const char *code, const QString &value) = 0;

    // A LINE entity from (x1, y1) to (x2, y2).
    void lineEntity(const char *first, float x1, float y1, float x2, float y2)
    {
        beginEntity(first, "LINE");
        point("10", "20", x1, y1);
        point("11", "21", x2, y2);
    }
};
