#include "files/DxfInput.h"

#include <algorithm>
#include <cstring>

DxfInput::DxfInput(DxfSource &source, qsizetype pieceSize) : m_source(source), m_pieceSize(pieceSize) {}

namespace {

// The first CR or LF in [from, to), or to. memchr per byte sought is much faster than looking at
// every byte for every one of them. It looks a window at a time, so that a byte the text does not
// hold at all (the CR of LF-only lines) never makes each line's search read to the buffer's end.
const char *firstLineEnd(const char *from, const char *to)
{
    constexpr std::ptrdiff_t Window = 64;
    while (from < to) {
        const char *const windowEnd = from + std::min(Window, to - from);
        const char *found = windowEnd;
        for (const char byte : {'\r', '\n'}) {
            if (const void *hit = std::memchr(from, byte, size_t(found - from)))
                found = static_cast<const char *>(hit);
        }
        if (found != windowEnd)
            return found;
        from = windowEnd;
    }
    return to;
}

} // namespace

template <typename FirstIn>
qsizetype DxfInput::search(qsizetype limit, FirstIn firstIn)
{
    qsizetype looked = 0;
    for (;;) {
        const char *const data = m_buffer.constData() + m_begin;
        const qsizetype end = std::min(m_end - m_begin, limit);
        const char *const found = firstIn(data + looked, data + end);
        if (found != data + end)
            return found - data;
        looked = end;
        if (looked >= limit || !readPiece())
            return -1;
    }
}

qsizetype DxfInput::find(char byte, qsizetype limit)
{
    return search(limit, [byte](const char *from, const char *to) {
        const void *const hit = std::memchr(from, byte, size_t(to - from));
        return hit ? static_cast<const char *>(hit) : to;
    });
}

qsizetype DxfInput::findLineEnd(qsizetype limit)
{
    return search(limit, [](const char *from, const char *to) { return firstLineEnd(from, to); });
}

bool DxfInput::readPiece()
{
    if (m_ended)
        return false;
    // What was passed over goes first; the buffer grows only for what is still being looked at.
    if (m_buffer.size() - m_end < m_pieceSize && m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.constData() + m_begin, size_t(m_end - m_begin));
        m_offset += m_begin;
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_buffer.size() - m_end < m_pieceSize)
        m_buffer.resize(std::max(m_end + m_pieceSize, 2 * m_buffer.size()));
    const qsizetype read = m_source.read(m_buffer.data() + m_end, m_pieceSize);
    m_ended = read <= 0;
    m_end += std::max<qsizetype>(read, 0);
    return !m_ended;
}
