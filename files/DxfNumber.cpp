#include "files/DxfNumber.h"

#include "shapes/Checked.h"

#include <QVarLengthArray>

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

// Number lines are short: one whose decimal separator is "," is copied on the stack, without an
// allocation, with "." instead.
using NumberText = QVarLengthArray<char, 64>;

// The number text ready for std::from_chars (which takes neither "+" nor ","): the text itself,
// or where it holds a "," its copy in `copy`; empty when the text holds anything a decimal
// number cannot.
QByteArrayView normalised(QByteArrayView text, NumberText &copy)
{
    QByteArrayView body = DxfNumber::trimmed(text);
    if (body.startsWith('+'))
        body = body.sliced(1);
    qsizetype comma = -1;
    bool separator = false;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == ',' || c == '.') {
            if (separator)
                return {};
            separator = true;
            if (c == ',')
                comma = i;
        } else if (!((c >= '0' && c <= '9') || c == 'e' || c == 'E' || c == '+' || c == '-')) {
            return {};
        }
    }
    if (comma < 0)
        return body;
    copy.append(body.data(), body.size());
    copy[comma] = '.';
    return QByteArrayView(copy.constData(), copy.size());
}

bool hasNegativeExponent(QByteArrayView number)
{
    return number.contains("e-") || number.contains("E-");
}

template <typename T>
DxfNumber::Parsed<T> parse(QByteArrayView text)
{
    NumberText copy;
    const QByteArrayView number = normalised(text, copy);
    if (number.isEmpty())
        return {};
    const char *end = number.constData() + number.size();
    T value{};
    const std::from_chars_result result = std::from_chars(number.constData(), end, value);
    if (result.ptr != end || result.ec == std::errc::invalid_argument)
        return {};
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
    return parse<float>(text);
}

DxfNumber::Parsed<double> DxfNumber::toDouble(QByteArrayView text)
{
    return parse<double>(text);
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
