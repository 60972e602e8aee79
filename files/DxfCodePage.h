#pragma once
// The code page of a DXF file's texts: Windows-1252, UTF-8, or the one that $DWGCODEPAGE names.

#include <QByteArrayView>
#include <QString>

class DxfCodePage
{
public:
    // Windows-1252, the code page of a file that names none.
    DxfCodePage() = default;
    static DxfCodePage utf8();
    // The code page that a value of $DWGCODEPAGE names ("ANSI_1251", "dos866", in any case);
    // Windows-1252 for a name it does not know.
    static DxfCodePage named(QByteArrayView name);

    QString toUnicode(QByteArrayView bytes) const;

private:
    explicit DxfCodePage(const char *decoderName) : m_decoderName(decoderName) {}

    // The name by which Qt knows the code page; none for Windows-1252, which is read on its own.
    const char *m_decoderName = nullptr;
};
