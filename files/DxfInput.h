#pragma once
// The bytes of a file as the reader walks through them: a window over a source that is read piece
// by piece, so that no more of the file is in memory than the reader looks at.

#include "files/DxfSource.h"

#include <QByteArray>
#include <QByteArrayView>

#include <bit>
#include <cstdint>
#include <cstring>

class DxfInput
{
public:
    DxfInput(DxfSource &source, qsizetype pieceSize);

    // Where the next byte lies in the file, counted from 0.
    qsizetype offset() const { return m_offset + m_begin; }

    // The bytes from the next one on, at least count of them unless the file ends first. Every view
    // handed out stays valid until the next call of ensure(), find() or findLineEnd().
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
    // Most lines of a DXF file are a few bytes long. Where one of at most ShortLine bytes ends
    // in the bytes read already, with a byte after its end, the line without its end (CR, LF or
    // CR LF), which is passed over; false otherwise, with nothing passed over. Its bytes are
    // tested a word at a time, which costs much less than a search.
    static constexpr qsizetype ShortLine = 15;
    bool takeShortLine(QByteArrayView &line)
    {
        if constexpr (std::endian::native != std::endian::little)
            return false;
        const char *const data = m_buffer.constData() + m_begin;
        if (m_end - m_begin < ShortLine + 2)
            return false;
        qsizetype end = 0;
        for (; end <= ShortLine; end += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, data + end, sizeof word);
            if (const std::uint64_t found = matches(word, '\r') | matches(word, '\n')) {
                end += std::countr_zero(found) / 8;
                break;
            }
        }
        if (end > ShortLine)
            return false;
        line = QByteArrayView(data, end);
        m_begin += data[end] == '\r' && data[end + 1] == '\n' ? end + 2 : end + 1;
        return true;
    }

private:
    // Whether each byte of word is `byte`, as the high bit of that byte. A borrow can mark a byte
    // above a true match as well, never one below: the lowest mark is always a match.
    static std::uint64_t matches(std::uint64_t word, char byte)
    {
        constexpr std::uint64_t Ones = 0x0101010101010101u;
        constexpr std::uint64_t Highs = 0x8080808080808080u;
        const std::uint64_t differences = word ^ (Ones * static_cast<unsigned char>(byte));
        return (differences - Ones) & ~differences & Highs;
    }
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
