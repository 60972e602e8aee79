#pragma once
// Number lines of DXF files, made and read without the user's locale: "." as decimal point on
// writing, "." or "," on reading.

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

class DxfNumber
{
public:
    enum class Status {
        Ok,
        NotANumber,
        Overflow
    };

    template <typename T>
    struct Parsed
    {
        Status status = Status::NotANumber;
        T value = T();
    };

    // A blank before a value that is not negative, a minus sign before a negative one, one blank
    // after: " 12.5 ", "-3 ", " 0 ". A float is written in the shortest form that reads back as the
    // same 32-bit float. A value that is not finite raises OverflowError.
    template <typename Number>
    static QByteArray format(Number value)
    {
        char buffer[MaxLineLength];
        return QByteArray(buffer, write(buffer, value));
    }
    // The same number lines written into buffer, which has room for MaxLineLength characters;
    // returns the length. For writers that make many lines without an allocation for each.
    static constexpr int MaxLineLength = 32;
    static int write(char *buffer, float value);
    static int write(char *buffer, std::int32_t value);

    // Blanks around the number are allowed, "," stands for ".", exponents are read; a value too
    // small for the type becomes zero, one too large is an overflow. Infinity and NaN are no numbers.
    static Parsed<float> toSingle(QByteArrayView text);
    static Parsed<double> toDouble(QByteArrayView text);
    // Rounded to the nearest integer, a half to the even neighbour.
    static Parsed<std::int32_t> toInteger32(QByteArrayView text);

    // Blanks and tabs at both ends removed.
    static QByteArrayView trimmed(QByteArrayView text)
    {
        auto blank = [](char c) { return c == ' ' || c == '\t'; };
        while (!text.isEmpty() && blank(text.front()))
            text = text.sliced(1);
        while (!text.isEmpty() && blank(text.back()))
            text.chop(1);
        return text;
    }
};
