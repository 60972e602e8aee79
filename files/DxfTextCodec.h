#pragma once
// Text of DXF files: bytes in the file's code page, with DXF's \U+XXXX escapes for other characters.

#include "files/DxfCodePage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class DxfTextCodec
{
public:
    // Windows-1252 bytes; a character outside it (and a control character other than the tab)
    // becomes the escape \U+XXXX of its UTF-16 unit, and a backslash that would otherwise start
    // an escape becomes \U+005C, so that decode() gives back exactly the same text.
    static QByteArray encode(const QString &text);

    // The bytes of one line in the file's code page, escapes decoded.
    static QString decode(QByteArrayView bytes, const DxfCodePage &codePage);

    // Replaces each \U+XXXX (four hex digits) by its character. An escape of eight digits for a
    // character beyond the 16-bit range (\U+0001F600), as some writers use, is read as well.
    static QString unescape(const QString &text);

    // Windows-1252 bytes to text. The five bytes the code page leaves undefined keep their
    // value as character, as Windows itself maps them.
    static QString fromWindows1252(QByteArrayView bytes);
    // The Windows-1252 byte of a character, or -1 when the code page does not hold it.
    static int toWindows1252(char16_t character);
};
