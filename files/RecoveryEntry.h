#pragma once
// One completed action of the editor, as the recovery record keeps it and the window's own
// operations replay it.

#include "files/DiskFile.h"

#include <QString>
#include <cstdint>

class QDataStream;
struct ShapeKind;

struct RecoveryEntry
{
    enum class Kind : std::uint8_t {
        Emptied = 1, // the drawing emptied (New, Open)
        Titled,      // title and the save dialog's file after New, Open, Save As, Save
        Read,        // a drawing read from a file, which the record names instead of copying it
        Placed,      // one of the placement operations, with what it takes from the window
        Undone,
        Colour, // the colour for new shapes
        BackColour,
        Moved,   // the file read was about to be overwritten: a copy of it stands in for it
        Restart, // what came before does not make the drawing any more
    };
    // The kind placed: its place in AllShapeKinds, from 1; the designed kinds by name.
    enum class Placement : std::uint8_t {
        Punkt = 1,
        Linie,
        Rechteck,
        Kreis,
        Text
    };

    RecoveryEntry(Kind kind = Kind::Emptied) : kind(kind) {}
    // A colour set (Colour, BackColour).
    RecoveryEntry(Kind kind, std::int32_t color) : kind(kind), color(color) {}
    // A placement, made with that colour.
    RecoveryEntry(Placement placement, float x1, float y1, float x2, float y2, std::int32_t color)
        : kind(Kind::Placed), placement(placement), x1(x1), y1(y1), x2(x2), y2(y2), color(color) {}

    Kind kind = Kind::Emptied;
    Placement placement = Placement::Punkt;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::int32_t color = 0; // the colour placed with, set, or for new shapes when reading
    QString text, font;     // a text's, and the title with Titled
    float fontSize = 0;
    QString fileName;      // Titled, Read and Moved
    bool saved = false;    // Titled: the drawing is in that file now
    DiskFile::Stamp stamp; // Read and Moved: the file as it was read
    qint64 readUpTo = -1;  // Read: the bytes read where the user stopped the reading, else -1

    bool operator==(const RecoveryEntry &) const = default;

    // The kind of a Placed entry.
    const ShapeKind &placedKind() const;

    // Writes the entry, as far as its kind holds, to a stream made ready by format().
    void write(QDataStream &out) const;
    // Reads the next entry; false where the stream holds no whole entry there, or one no editor
    // writes.
    bool read(QDataStream &in);
    // Sets the stream to the format entries are written in.
    static QDataStream &format(QDataStream &stream);
};
