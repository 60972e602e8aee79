#pragma once
// The bytes of a file as the reader walks through them: a window over a source that is read piece
// by piece, so that no more of the file is in memory than the reader looks at.

#include "files/DxfSource.h"

#include <QByteArray>
#include <QByteArrayView>

class DxfInput
{
public:
    DxfInput(DxfSource &source, qsizetype pieceSize);

    qsizetype pieceSize() const { return m_pieceSize; }
    // Where the next byte lies in the file, counted from 0.
    qsizetype offset() const { return m_offset + m_begin; }

    // The bytes from the next one on, at least count of them unless the file ends first. Every view
    // handed out stays valid until the next call of ensure() or find().
    QByteArrayView ensure(qsizetype count)
    {
        while (m_end - m_begin < count && readPiece()) {
        }
        return QByteArrayView(m_buffer.constData() + m_begin, m_end - m_begin);
    }
    // How many bytes lie before the first from the next one on that is `byte`, reading on as
    // needed but looking at no more than `limit` bytes; -1 when none is there.
    qsizetype find(char byte, qsizetype limit);
    // The same for the first CR or LF.
    qsizetype findLineEnd(qsizetype limit);
    void skip(qsizetype count) { m_begin += count; }

private:
    // Appends the next piece of the source; false when the file has ended.
    bool readPiece();
    // What find and findLineEnd share: firstIn(from, to) is the first byte sought in [from, to), or to.
    template <typename FirstIn>
    qsizetype search(qsizetype limit, FirstIn firstIn);

    DxfSource &m_source;
    const qsizetype m_pieceSize;
    QByteArray m_buffer;
    // The bytes not yet passed over lie in m_buffer from m_begin to m_end.
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
    // The offset in the file of m_buffer's first byte.
    qsizetype m_offset = 0;
    bool m_ended = false;
};
