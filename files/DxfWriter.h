#pragma once
// Writes a drawing as a DXF file: one ENTITIES section with a POINT, LINE, CIRCLE or TEXT per shape.

#include <QByteArray>
#include <QByteArrayView>
#include <string>
#include <QIODevice>
#include <cstdint>

class ObjectData;

class DxfWriter
{
public:
    // Takes the number of shapes now: the file holds these, whatever happens to the document later.
    explicit DxfWriter(const ObjectData &document);

    // Writes the whole file, every line ending in CR LF. False when the device refused a write.
    // A coordinate that is not finite raises OverflowError; the device then holds an unfinished file.
    bool write(QIODevice &device) const;

private:
    // Appends one line and its CR LF.
    static void line(std::string &out, QByteArrayView text);
    // Appends a number line and its CR LF.
    static void numberLine(std::string &out, float value);
    static void numberLine(std::string &out, std::int32_t value);
    // A text or font name: Windows-1252 with escapes, a CR or LF among them, so that it stays one
    // line and reads back unchanged.
    static QByteArray textLine(const QString &text);
    // The lines every entity starts with: its first line, its type, layer "0" and the first point,
    // Y negated.
    static void entityStart(std::string &out, const char *first, const char *type, float x, float y);
    static void lineBlock(std::string &out, const char *first, float x1, float y1, float x2, float y2);

    const ObjectData &m_document;
    std::int32_t m_count;
};
