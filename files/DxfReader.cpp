#include "files/DxfReader.h"

#include "files/DxfTextCodec.h"
#include "shapes/AllShapeKinds.h"
#include "shapes/SkizzarError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// DXF 2007 (AC1021) and later hold their text in UTF-8.
constexpr int FirstUtf8Version = 1021;
// Offending text in a message is cut to this many characters.
constexpr qsizetype ShownTextLength = 80;
// Only this many bytes of an offending line are decoded for the message: no character takes more
// than eleven (the escape \U+XXXXXXXX), so they hold more than is shown, and a file that is one
// line of 200 MB does not cost twice that again.
constexpr qsizetype ShownTextBytes = 1024;
static_assert(ShownTextBytes > (ShownTextLength + 1) * 11);
// A group code line longer than this is taken as none without being read on: only blanks or
// leading zeros could make it one, and a file that is one line of 200 MB needs no 200 MB.
constexpr qsizetype LongestCodeLine = 1 << 20;
static_assert(LongestCodeLine >= ShownTextBytes);

// A file held in memory, handed out in pieces.
class ViewSource : public DxfSource
{
public:
    explicit ViewSource(QByteArrayView content) : m_rest(content) {}
    qsizetype read(char *into, qsizetype most) override
    {
        const QByteArrayView piece = m_rest.first(std::min(most, m_rest.size()));
        std::copy(piece.begin(), piece.end(), into);
        m_rest = m_rest.sliced(piece.size());
        return piece.size();
    }

private:
    QByteArrayView m_rest;
};

// The group code a line holds, blanks around it allowed; none when it holds anything else.
std::optional<int> groupCode(QByteArrayView line)
{
    // Nearly every code is a few digits alone on its line, read here without the general path.
    const QByteArrayView code = DxfNumber::trimmed(line);
    constexpr qsizetype MostDigits = 9; // no int overflows
    if (!code.isEmpty() && code.size() <= MostDigits) {
        int value = 0;
        for (const char c : code) {
            if (c < '0' || c > '9') {
                value = -1;
                break;
            }
            value = value * 10 + (c - '0');
        }
        if (value >= 0)
            return value;
    }
    int value = 0;
    const std::from_chars_result result = std::from_chars(code.data(), code.data() + code.size(), value);
    if (code.isEmpty() || result.ec != std::errc() || result.ptr != code.data() + code.size())
        return std::nullopt;
    return value;
}

bool is(QByteArrayView value, QByteArrayView expected)
{
    return DxfNumber::trimmed(value) == expected;
}

} // namespace

QString DxfReader::noEofMessage()
{
    return QStringLiteral("In der zu öffnenden Datei wurde kein EOF gefunden");
}

QString DxfReader::passedOverMessage()
{
    return QStringLiteral("Beim zu öffnenden DXF - File ist ein Fehler aufgetreten");
}

DxfReader::DxfReader(DxfTarget &target, qsizetype pieceSize) : m_target(target), m_pieceSize(pieceSize) {}

QStringList DxfReader::read(QByteArrayView content)
{
    ViewSource source(content);
    return read(source);
}

QStringList DxfReader::read(DxfSource &source)
{
    m_binary.reset();
    DxfInput &input = m_input.emplace(source, m_pieceSize);
    m_lineNumber = 0;
    if (DxfBinaryPairs::isBinary(input))
        m_binary.emplace(input);
    else if (input.ensure(3).startsWith("\xEF\xBB\xBF"))
        // A UTF-8 byte order mark, which some programs put first, is no part of the first group code.
        input.skip(3);
    m_namedCodePage = DxfCodePage();
    m_utf8 = false;
    m_passedOver = false;
    m_number = 0.0;
    m_text.clear();

    QStringList messages;
    try {
        bool ended = false;
        Pair pair;
        while (!ended && nextPair(pair)) {
            if (pair.code != 0)
                continue;
            if (is(pair.value, "EOF")) {
                ended = true;
            } else if (is(pair.value, "SECTION")) {
                if (!nextPair(pair))
                    break;
                if (pair.code == 2 && is(pair.value, "ENTITIES"))
                    ended = readEntities();
                else
                    ended = passOverSection(pair.code == 2 && is(pair.value, "HEADER"));
            }
        }
        if (!ended)
            messages.append(noEofMessage());
    } catch (const Stop &stopped) {
        messages.append(stopped.message);
    }
    if (m_passedOver)
        messages.append(passedOverMessage());
    return messages;
}

bool DxfReader::nextLine(QByteArrayView &line, bool *cut)
{
    static_assert(DxfInput::ShortLine < LongestCodeLine);
    if (m_input->takeShortLine(line)) {
        ++m_lineNumber;
        return true;
    }
    const qsizetype longest = cut ? LongestCodeLine : std::numeric_limits<qsizetype>::max() - 1;
    const qsizetype end = m_input->findLineEnd(longest + 1);
    const QByteArrayView rest = m_input->ensure(end < 0 ? 0 : end + 2);
    if (rest.isEmpty())
        return false;
    ++m_lineNumber;
    if (end < 0) {
        // The last line, without an end, or one too long.
        if (rest.size() > longest) {
            *cut = true;
            line = rest.first(longest);
            return true;
        }
        line = rest;
        m_input->skip(rest.size());
        return true;
    }
    line = rest.first(end);
    m_input->skip(rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n' ? end + 2 : end + 1);
    return true;
}

bool DxfReader::nextPair(Pair &pair)
{
    if (m_binary)
        return nextBinaryPair(pair);
    QByteArrayView codeLine;
    bool cut = false;
    if (!nextLine(codeLine, &cut))
        return false;
    const qsizetype codeLineNumber = m_lineNumber;
    const std::optional<int> code = cut ? std::nullopt : groupCode(codeLine);
    if (!code)
        stop(QStringLiteral("Kein Gruppencode"), codeLineNumber, codeLine);
    pair.code = *code;
    if (!nextLine(pair.value))
        return false;
    pair.valueAt = m_lineNumber;
    return true;
}

bool DxfReader::nextBinaryPair(Pair &pair)
{
    switch (m_binary->next(pair)) {
    case DxfBinaryPairs::Result::Read:
        return true;
    case DxfBinaryPairs::Result::End:
        return false;
    case DxfBinaryPairs::Result::UnknownCode:
        stop(QStringLiteral("Kein Gruppencode"), pair.codeAt, QByteArray::number(pair.code));
    case DxfBinaryPairs::Result::CutOff:
        stop(QStringLiteral("Unvollständige Gruppe"), pair.codeAt,
             pair.code < 0 ? QByteArray() : QByteArray::number(pair.code));
    }
    return false;
}

bool DxfReader::passOverSection(bool header)
{
    Pair pair;
    while (nextPair(pair)) {
        if (pair.code == 0 && is(pair.value, "ENDSEC"))
            return false;
        if (pair.code == 0 && is(pair.value, "EOF"))
            return true;
        if (header && pair.code == 9 && is(pair.value, "$ACADVER")) {
            if (!nextPair(pair))
                return false;
            const QByteArrayView version = DxfNumber::trimmed(pair.value);
            int number = 0;
            if (pair.code == 1 && version.startsWith("AC")) {
                std::from_chars(version.data() + 2, version.data() + version.size(), number);
                m_utf8 = number >= FirstUtf8Version;
            }
        }
        if (header && pair.code == 9 && is(pair.value, "$DWGCODEPAGE")) {
            if (!nextPair(pair))
                return false;
            if (pair.code == 3)
                m_namedCodePage = DxfCodePage::named(pair.value);
        }
    }
    return false;
}

bool DxfReader::readEntities()
{
    m_entity = nullptr;
    m_inEntity = false;
    Pair pair;
    while (nextPair(pair)) {
        if (pair.code != 0) {
            if (!m_inEntity)
                m_passedOver = true;
            else if (m_entity)
                applyGroup(pair);
            continue;
        }
        finishEntity();
        if (is(pair.value, "ENDSEC"))
            return false;
        if (is(pair.value, "EOF")) {
            // The section was never closed.
            m_passedOver = true;
            return true;
        }
        beginEntity(pair);
    }
    // The file ended inside the section: the entity being read is not placed.
    return false;
}

void DxfReader::beginEntity(const Pair &pair)
{
    const QByteArrayView type = DxfNumber::trimmed(pair.value);
    m_entity = nullptr;
    for (const ShapeKind *kind : AllShapeKinds)
        if (!kind->dxfEntity.isEmpty() && kind->dxfEntity == type)
            m_entity = kind;
    m_inEntity = true;
    if (!m_entity)
        m_passedOver = true;
    m_entityLine = pair.valueAt;
    m_entityType.assign(pair.value.data(), size_t(std::min(pair.value.size(), ShownTextBytes)));
}

// The start point and the colour are read for every kind; a text's style and height, layers,
// handles, subclass markers and the like change nothing.
void DxfReader::applyGroup(const Pair &pair)
{
    if (pair.code == 10)
        m_target.setStartX(single(pair));
    else if (pair.code == 20)
        m_target.setStartY(negatedSingle(pair));
    else if (pair.code == 62)
        m_target.setColor(number(DxfNumber::toInteger32(pair.value), pair));
    for (const ShapeKind::DxfGroup &group : m_entity->dxfGroups) {
        if (group.code != pair.code)
            continue;
        switch (group.value) {
        case ShapeKind::DxfValue::LastX:
            m_target.setLastX(single(pair));
            break;
        case ShapeKind::DxfValue::LastY:
            m_target.setLastY(negatedSingle(pair));
            break;
        case ShapeKind::DxfValue::Number:
            m_number = number(DxfNumber::toDouble(pair.value), pair);
            break;
        case ShapeKind::DxfValue::Text:
            m_text = DxfTextCodec::decode(pair.value, codePage());
            break;
        }
    }
}

void DxfReader::finishEntity()
{
    const ShapeKind *const entity = m_entity;
    m_entity = nullptr;
    m_inEntity = false;
    if (!entity)
        return;
    try {
        ShapePlacement placement{m_target.getStartX(), m_target.getStartY()};
        if (entity->clicks == 2) {
            placement.x2 = m_target.getLastX();
            placement.y2 = m_target.getLastY();
        }
        if (entity->takesText)
            placement.text = m_text;
        if (entity->fromDxf) {
            entity->fromDxf(placement, m_number);
            m_target.setLastX(placement.x2);
            m_target.setLastY(placement.y2);
        }
        m_target.place(*entity, placement);
    } catch (const SkizzarError &error) {
        stop(error.message(), m_entityLine, m_entityType);
    }
}

template <typename T>
T DxfReader::number(const DxfNumber::Parsed<T> &parsed, const Pair &pair) const
{
    if (parsed.status == DxfNumber::Status::NotANumber)
        stop(QStringLiteral("Keine Zahl"), pair.valueAt, pair.value);
    if (parsed.status == DxfNumber::Status::Overflow)
        stop(OverflowError().message(), pair.valueAt, pair.value);
    return parsed.value;
}

float DxfReader::single(const Pair &pair) const
{
    return number(DxfNumber::toSingle(pair.value), pair);
}

float DxfReader::negatedSingle(const Pair &pair) const
{
    // The value as a double, negated, then rounded to a float: rounded twice, which differs from
    // reading a float at once next to a float midpoint.
    const float negated = static_cast<float>(-number(DxfNumber::toDouble(pair.value), pair));
    if (!std::isfinite(negated))
        stop(OverflowError().message(), pair.valueAt, pair.value);
    // A written 0 stands for the positive zero it was made from.
    return negated == 0.0f ? 0.0f : negated;
}

void DxfReader::stop(const QString &reason, qsizetype where, QByteArrayView text) const
{
    QString shown = DxfTextCodec::decode(text.first(std::min(text.size(), ShownTextBytes)), codePage());
    if (shown.size() > ShownTextLength)
        shown = shown.left(ShownTextLength) + QStringLiteral("…");
    const QString place = m_binary ? QStringLiteral("bei Byte") : QStringLiteral("in Zeile");
    throw Stop{QStringLiteral("%1 %2 %3: „%4“").arg(reason, place, QString::number(where), shown)};
}

DxfCodePage DxfReader::codePage() const
{
    return m_utf8 ? DxfCodePage::utf8() : m_namedCodePage;
}
