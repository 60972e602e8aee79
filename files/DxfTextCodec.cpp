#include "files/DxfTextCodec.h"

#include <algorithm>
#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 … 0x9F. Zero marks the five undefined bytes.
// clang-format off
constexpr std::array<char16_t, 32> HighControlBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
// clang-format on

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// The value of count hex digits at text[from], or -1.
long hexNumber(const QString &text, qsizetype from, qsizetype count)
{
    if (from + count > text.size())
        return -1;
    long value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const int digit = hexValue(text.at(i).unicode());
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool startsEscape(const QString &text, qsizetype at)
{
    return text.at(at) == u'\\' && at + 2 < text.size() && text.at(at + 1) == u'U' && text.at(at + 2) == u'+';
}

} // namespace

int DxfTextCodec::toWindows1252(char16_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return character;
    const auto found = std::find(HighControlBlock.begin(), HighControlBlock.end(), character);
    return found == HighControlBlock.end() ? -1 : static_cast<int>(0x80 + (found - HighControlBlock.begin()));
}

QString DxfTextCodec::fromWindows1252(QByteArrayView bytes)
{
    // One character per byte, written straight into the text.
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *character = reinterpret_cast<char16_t *>(text.data());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *character++ = b >= 0x80 && b <= 0x9F && HighControlBlock[b - 0x80] != 0 ? HighControlBlock[b - 0x80] : b;
    }
    return text;
}

QByteArray DxfTextCodec::encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    // After the escape of U+0000 … U+0010 a hex digit would make it read as an eight-digit escape.
    bool lowEscape = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const int byte = toWindows1252(c);
        const bool control = c < 0x20 && c != u'\t';
        if (byte < 0 || control || startsEscape(text, i) || (lowEscape && hexValue(c) >= 0)) {
            bytes.append("\\U+" + QByteArray::number(unsigned(c), 16).toUpper().rightJustified(4, '0'));
            lowEscape = c <= 0x10;
        } else {
            bytes.append(static_cast<char>(byte));
            lowEscape = false;
        }
    }
    return bytes;
}

QString DxfTextCodec::unescape(const QString &text)
{
    // Most texts hold no backslash at all, which is the quickest to rule out.
    if (!text.contains(u'\\') || !text.contains(QStringLiteral("\\U+")))
        return text;
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (startsEscape(text, i)) {
            const long wide = hexNumber(text, i + 3, 8);
            if (wide > 0xFFFF && wide <= 0x10FFFF) {
                result.append(QChar::fromUcs4(static_cast<char32_t>(wide)));
                i += 11;
                continue;
            }
            const long unit = hexNumber(text, i + 3, 4);
            if (unit >= 0) {
                result.append(QChar(static_cast<char16_t>(unit)));
                i += 7;
                continue;
            }
        }
        result.append(text.at(i));
        ++i;
    }
    return result;
}

QString DxfTextCodec::decode(QByteArrayView bytes, const DxfCodePage &codePage)
{
    return unescape(codePage.toUnicode(bytes));
}
