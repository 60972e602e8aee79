#include "files/DxfNumber.h"

#include "shapes/Checked.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

// The number text ready for std::from_chars (which takes neither "+" nor ","), or empty when the
// text holds anything a decimal number cannot.
QByteArray normalised(QByteArrayView text)
{
    QByteArrayView body = DxfNumber::trimmed(text);
    if (body.startsWith('+'))
        body = body.sliced(1);
    if (body.isEmpty())
        return {};
    QByteArray result = body.toByteArray();
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

bool hasNegativeExponent(const QByteArray &number)
{
    return number.contains("e-") || number.contains("E-");
}

template <typename T>
DxfNumber::Parsed<T> parse(const QByteArray &number)
{
    DxfNumber::Parsed<T> parsed;
    if (number.isEmpty())
        return parsed;
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

QByteArray numberLine(const char *begin, const char *end, bool negative)
{
    QByteArray line;
    line.reserve(end - begin + 2);
    if (!negative)
        line.append(' ');
    line.append(begin, end - begin);
    line.append(' ');
    return line;
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
    Checked::single(value);
    if (value == 0.0f)
        value = 0.0f; // no "-0"
    char buffer[32];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return numberLine(buffer, result.ptr, value < 0.0f);
}

QByteArray DxfNumber::format(std::int32_t value)
{
    char buffer[16];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return numberLine(buffer, result.ptr, value < 0);
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
