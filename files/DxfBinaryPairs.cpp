#include "files/DxfBinaryPairs.h"

#include "files/DxfNumber.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// "AutoCAD Binary DXF", CR LF, SUB and NUL.
constexpr char Sentinel[] = "AutoCAD Binary DXF\r\n\x1A";
constexpr qsizetype SentinelSize = sizeof(Sentinel);

enum class Type {
    String,
    Double,
    Integer16,
    Integer32,
    Integer64,
    Boolean,
    Chunk,
    Unknown
};

struct CodeRange
{
    int first;
    int last;
    Type type;
};

// The value type of each group code in binary files.
// clang-format off
constexpr CodeRange CodeTypes[] = {
    {0, 9, Type::String},        {10, 59, Type::Double},       {60, 79, Type::Integer16},
    {90, 99, Type::Integer32},   {100, 102, Type::String},     {105, 105, Type::String},
    {110, 149, Type::Double},    {160, 169, Type::Integer64},  {170, 179, Type::Integer16},
    {210, 239, Type::Double},    {270, 289, Type::Integer16},  {290, 299, Type::Boolean},
    {300, 309, Type::String},    {310, 319, Type::Chunk},      {320, 369, Type::String},
    {370, 389, Type::Integer16}, {390, 399, Type::String},     {400, 409, Type::Integer16},
    {410, 419, Type::String},    {420, 429, Type::Integer32},  {430, 439, Type::String},
    {440, 459, Type::Integer32}, {460, 469, Type::Double},     {470, 481, Type::String},
    {999, 1003, Type::String},   {1004, 1004, Type::Chunk},    {1005, 1009, Type::String},
    {1010, 1059, Type::Double},  {1060, 1070, Type::Integer16}, {1071, 1071, Type::Integer32},
};
// clang-format on

Type typeOf(int code)
{
    for (const CodeRange &range : CodeTypes)
        if (code >= range.first && code <= range.last)
            return range.type;
    return Type::Unknown;
}

} // namespace

bool DxfBinaryPairs::isBinary(DxfInput &input)
{
    return input.ensure(SentinelSize).startsWith(QByteArrayView(Sentinel, SentinelSize));
}

DxfBinaryPairs::DxfBinaryPairs(DxfInput &input) : m_input(input)
{
    m_input.skip(SentinelSize);
    // The first group of a file is 0 "SECTION": its second byte is the code's high byte, 0, when
    // codes take two bytes, and the first letter of the value when they take one.
    const QByteArrayView start = m_input.ensure(2);
    m_wideCodes = start.size() > 1 && start[1] == '\0';
}

DxfBinaryPairs::Result DxfBinaryPairs::next(Pair &pair)
{
    pair = Pair();
    pair.codeAt = m_input.offset();
    if (m_input.ensure(1).isEmpty())
        return Result::End;
    if (!readCode(pair))
        return Result::CutOff;
    pair.valueAt = m_input.offset();
    switch (typeOf(pair.code)) {
    case Type::String: {
        const qsizetype end = m_input.find('\0', std::numeric_limits<qsizetype>::max());
        if (end < 0)
            return Result::CutOff;
        pair.value = m_input.ensure(end).first(end);
        m_input.skip(end + 1);
        return Result::Read;
    }
    case Type::Chunk: {
        const QByteArrayView rest = m_input.ensure(1);
        if (rest.isEmpty())
            return Result::CutOff;
        const qsizetype size = 1 + static_cast<unsigned char>(rest[0]);
        if (m_input.ensure(size).size() < size)
            return Result::CutOff;
        m_input.skip(size);
        return Result::Read;
    }
    case Type::Double:
        return readNumber(pair, 8, true) ? Result::Read : Result::CutOff;
    case Type::Integer16:
        return readNumber(pair, 2, false) ? Result::Read : Result::CutOff;
    case Type::Integer32:
        return readNumber(pair, 4, false) ? Result::Read : Result::CutOff;
    case Type::Integer64:
        return readNumber(pair, 8, false) ? Result::Read : Result::CutOff;
    case Type::Boolean:
        return readNumber(pair, 1, false) ? Result::Read : Result::CutOff;
    case Type::Unknown:
        break;
    }
    return Result::UnknownCode;
}

bool DxfBinaryPairs::readCode(Pair &pair)
{
    const QByteArrayView start = m_input.ensure(3);
    const auto byte = [&start](qsizetype at) { return static_cast<unsigned char>(start[at]); };
    if (!m_wideCodes && byte(0) != 255) {
        pair.code = byte(0);
        m_input.skip(1);
        return true;
    }
    const qsizetype at = m_wideCodes ? 0 : 1;
    if (at + 2 > start.size())
        return false;
    pair.code = byte(at) | (byte(at + 1) << 8);
    m_input.skip(at + 2);
    return true;
}

bool DxfBinaryPairs::readNumber(Pair &pair, qsizetype size, bool isDouble)
{
    const QByteArrayView bytes = m_input.ensure(size);
    if (bytes.size() < size)
        return false;
    // Little-endian, whatever the machine.
    std::uint64_t bits = 0;
    for (qsizetype i = size - 1; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    m_input.skip(size);
    char *const first = m_number.data();
    char *const last = first + m_number.size();
    char *end = nullptr;
    if (isDouble) {
        const double value = std::bit_cast<double>(bits);
        end = std::to_chars(first, last, value).ptr;
        // Shortened, a double that lies exactly halfway between two floats can read as the float on
        // the wrong side of it; its exact digits read as the float that the double rounds to.
        const float rounded = static_cast<float>(value);
        if (std::isfinite(rounded) && DxfNumber::toSingle(QByteArrayView(first, end - first)).value != rounded)
            end = std::to_chars(first, last, value, std::chars_format::general, 160).ptr;
    } else {
        // Signed, of the size read: the high bit of the last byte is the sign.
        const int unused = static_cast<int>(64 - 8 * size);
        end = std::to_chars(first, last, static_cast<std::int64_t>(bits << unused) >> unused).ptr;
    }
    pair.value = QByteArrayView(first, end - first);
    return true;
}
