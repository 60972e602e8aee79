#include "files/DxfNumber.h"

#include "shapes/Checked.h"

#include <QVarLengthArray>

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

// Number lines are short: their text is normalised on the stack, without an allocation.
using NumberText = QVarLengthArray<char, 64>;

// The number text ready for std::from_chars (which takes neither "+" nor ","), or empty when the
// text holds anything a decimal number cannot.
NumberText normalised(QByteArrayView text)
{
    QByteArrayView body = DxfNumber::trimmed(text);
    if (body.startsWith('+'))
        body = body.sliced(1);
    NumberText result;
    if (body.isEmpty())
        return result;
    result.append(body.data(), body.size());
    bool separator = false;
    for (char &c : result) {
        if (c == ',' || c == '.') {
            if (separator)
                return {};
            separator = true;
            c = '.';
        } else if (!((c >= '0' && c <= '9') || c == 'e' || c == 'E' || c == '+' || c == '-')) {
            return {};
        }
    }
    return result;
}

bool hasNegativeExponent(QByteArrayView number)
{
    return number.contains("e-") || number.contains("E-");
}

template <typename T>
DxfNumber::Parsed<T> parse(const NumberText &text)
{
    DxfNumber::Parsed<T> parsed;
    if (text.isEmpty())
        return parsed;
    const QByteArrayView number(text.constData(), text.size());
    const char *end = number.constData() + number.size();
    T value{};
    const std::from_chars_result result = std::from_chars(number.constData(), end, value);
    if (result.ptr != end || result.ec == std::errc::invalid_argument)
        return parsed;
    if (result.ec == std::errc::result_out_of_range) {
        // Too small rounds to zero; only too large is an error.
        double wide = 0.0;
        const std::from_chars_result retry = std::from_chars(number.constData(), end, wide);
        if (retry.ec == std::errc() && std::abs(wide) < 1.0)
            value = static_cast<T>(wide);
        else if (retry.ec == std::errc::result_out_of_range && hasNegativeExponent(number))
            value = number.startsWith('-') ? -T(0) : T(0);
        else
            return {DxfNumber::Status::Overflow, T()};
    }
    if (!std::isfinite(value))
        return {DxfNumber::Status::Overflow, T()};
    return {DxfNumber::Status::Ok, value};
}

// Puts the blank before a value that is not negative and the one after it round the digits,
// which to_chars wrote from buffer + 1 on.
int numberLine(char *buffer, char *digitsEnd)
{
    if (buffer[1] == '-') {
        std::memmove(buffer, buffer + 1, static_cast<std::size_t>(digitsEnd - buffer - 1));
        --digitsEnd;
    } else {
        buffer[0] = ' ';
    }
    *digitsEnd = ' ';
    return static_cast<int>(digitsEnd + 1 - buffer);
}

} // namespace

QByteArrayView DxfNumber::trimmed(QByteArrayView text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
}

QByteArray DxfNumber::format(float value)
{
    char buffer[MaxLineLength];
    return QByteArray(buffer, write(buffer, value));
}

QByteArray DxfNumber::format(std::int32_t value)
{
    char buffer[MaxLineLength];
    return QByteArray(buffer, write(buffer, value));
}

int DxfNumber::write(char *buffer, float value)
{
    Checked::single(value);
    if (value == 0.0f)
        value = 0.0f; // no "-0"
    char *const digits = buffer + 1;
    char *const end = buffer + MaxLineLength - 1;
    // A whole number of at most five digits is written as the integer it is: no other text is
    // as short, so it is what the shortest float form gives too, only made much faster.
    if (std::abs(value) < 100000.0f && value == std::trunc(value))
        return numberLine(buffer, std::to_chars(digits, end, static_cast<std::int32_t>(value)).ptr);
    return numberLine(buffer, std::to_chars(digits, end, value).ptr);
}

int DxfNumber::write(char *buffer, std::int32_t value)
{
    return numberLine(buffer, std::to_chars(buffer + 1, buffer + MaxLineLength - 1, value).ptr);
}

DxfNumber::Parsed<float> DxfNumber::toSingle(QByteArrayView text)
{
    return parse<float>(normalised(text));
}

DxfNumber::Parsed<double> DxfNumber::toDouble(QByteArrayView text)
{
    return parse<double>(normalised(text));
}

DxfNumber::Parsed<std::int32_t> DxfNumber::toInteger32(QByteArrayView text)
{
    const Parsed<double> real = toDouble(text);
    if (real.status != Status::Ok)
        return {real.status, 0};
    try {
        return {Status::Ok, Checked::integer32(real.value)};
    } catch (const OverflowError &) {
        return {Status::Overflow, 0};
    }
}
