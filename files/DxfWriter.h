#pragma once
// Writes a drawing as a DXF file: one ENTITIES section with a POINT, LINE, CIRCLE or TEXT per shape.

#include <QIODevice>
#include <cstdint>
#include <functional>

class ObjectData;

class DxfWriter
{
public:
    // Takes the number of shapes now: the file holds these, whatever happens to the document later.
    explicit DxfWriter(const ObjectData &document);

    // Writes the whole file, every line ending in CR LF. False when the device refused a write,
    // or goOn, told every few thousand shapes how far the writing has come (from 0 to 1), said to
    // stop. A coordinate that is not finite raises OverflowError; the device then holds an
    // unfinished file.
    bool write(QIODevice &device, const std::function<bool(double done)> &goOn = {}) const;

private:
    const ObjectData &m_document;
    std::int32_t m_count;
};
