#pragma once
// Where the reader takes the bytes of a file from, one piece after the other.

#include <QtGlobal>

class DxfSource
{
public:
    virtual ~DxfSource() = default;

    // Copies at most `most` of the next bytes to `into` and says how many; 0 when the file has
    // ended (also when it was cut short while being read). Raises FileError.
    virtual qsizetype read(char *into, qsizetype most) = 0;
};
