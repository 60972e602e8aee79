#pragma once
// Reads the entities of a DXF file, text or binary, that a shape kind is read from (POINT, LINE,
// CIRCLE, TEXT), and places them through a target.

#include "files/DxfBinaryPairs.h"
#include "files/DxfCodePage.h"
#include "files/DxfInput.h"
#include "files/DxfNumber.h"
#include "files/DxfSource.h"
#include "files/DxfTarget.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

class DxfReader
{
public:
    // The file ended before its "EOF"; the shapes read so far stay.
    static QString noEofMessage();
    // Something was passed over: an entity of another kind, or groups outside any entity.
    static QString passedOverMessage();

    // The source is asked for pieceSize bytes at a time.
    explicit DxfReader(DxfTarget &target, qsizetype pieceSize = 1 << 20);

    // Reads a whole file from its source. Every entity read is placed at once through the target, whose working
    // members keep the values of the last entity. Returns what the user is to be told, in order:
    // first what ended the reading early (a missing "EOF", a value that is not a number, a
    // broken group code, a placement that failed), then, once, that something was passed over.
    QStringList read(DxfSource &source);
    // Reads a whole file that is in memory.
    QStringList read(QByteArrayView content);

private:
    // In a text file, valueAt is the value's line, and codeAt is not set.
    using Pair = DxfBinaryPairs::Pair;

    // Ends the reading; the text is the message for the user.
    struct Stop
    {
        QString message;
    };

    // The next line without its end, valid until the next is read; false when the file has ended.
    // Where cut is given, a line longer than any group code can sensibly be is not read whole but
    // cut and *cut set.
    bool nextLine(QByteArrayView &line, bool *cut = nullptr);
    bool nextPair(Pair &pair);
    bool nextBinaryPair(Pair &pair);
    // Both return true when the pair 0/EOF ended the file inside the section.
    bool passOverSection(bool header);
    bool readEntities();
    void beginEntity(const Pair &pair);
    void applyGroup(const Pair &pair);
    void finishEntity();

    // The parsed value; a value that is not one ends the reading.
    template <typename T>
    T number(const DxfNumber::Parsed<T> &parsed, const Pair &pair) const;
    float single(const Pair &pair) const;
    float negatedSingle(const Pair &pair) const;
    [[noreturn]] void stop(const QString &reason, qsizetype where, QByteArrayView text) const;
    DxfCodePage codePage() const;

    DxfTarget &m_target;
    const qsizetype m_pieceSize;
    std::optional<DxfInput> m_input;
    qsizetype m_lineNumber = 0;
    // The pairs of a binary file, which are read instead of lines.
    std::optional<DxfBinaryPairs> m_binary;
    // $DWGCODEPAGE names the code page of the texts, unless $ACADVER says they are UTF-8.
    DxfCodePage m_namedCodePage;
    bool m_utf8 = false;
    bool m_passedOver = false;

    // The kind of the entity being read; none outside an entity, and for one of another kind.
    const ShapeKind *m_entity = nullptr;
    bool m_inEntity = false;
    // The line (or offset) of the entity's type and the start of its text, for a message.
    qsizetype m_entityLine = 0;
    std::string m_entityType;
    // Holders kept from one entity to the next, as the window's members are.
    double m_number = 0.0;
    QString m_text;
};
