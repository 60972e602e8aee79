#pragma once
// Reads the group pairs of a binary DXF file one after the other: group codes of one or two bytes,
// each value in the form that the type of its group code gives.

#include "files/DxfInput.h"

#include <QByteArrayView>

#include <array>

class DxfBinaryPairs
{
public:
    // Whether the input, at the first byte of its file, starts as every binary DXF file does.
    static bool isBinary(DxfInput &input);

    // The input of a file for which isBinary() holds, at its first byte.
    explicit DxfBinaryPairs(DxfInput &input);

    struct Pair
    {
        int code = -1;
        // A string as stored, without its closing NUL; a number as the shortest text that reads
        // back as the same value; both valid until the next pair is read; nothing for binary data.
        QByteArrayView value;
        // Offsets in the file, counted in bytes from 0.
        qsizetype codeAt = 0;
        qsizetype valueAt = 0;
    };

    enum class Result {
        Read,
        // The file ended before the pair.
        End,
        // The group code has no type, so where its value ends is unknown.
        UnknownCode,
        // The file ends inside the pair: in its group code (the code stays -1) or its value.
        CutOff,
    };
    Result next(Pair &pair);

private:
    bool readCode(Pair &pair);
    bool readNumber(Pair &pair, qsizetype size, bool isDouble);

    DxfInput &m_input;
    // From R13 on every group code takes two bytes; before, one (255 announces two more).
    bool m_wideCodes = false;
    // The text of the last number read; long enough for the exact value of any double that lies
    // halfway between two floats.
    std::array<char, 192> m_number{};
};
