#include "files/DxfInput.h"

#include <algorithm>
#include <cstring>

DxfInput::DxfInput(DxfSource &source, qsizetype pieceSize) : m_source(source), m_pieceSize(pieceSize) {}

QByteArrayView DxfInput::ensure(qsizetype count)
{
    while (m_end - m_begin < count && readPiece()) {
    }
    return QByteArrayView(m_buffer.constData() + m_begin, m_end - m_begin);
}

namespace {

// The first of `bytes` in [from, to), or to: memchr per byte is much faster than looking at every
// byte for every one of them. It looks a window at a time, so that a byte the text does not hold
// at all (the CR of LF-only lines) never makes each line's search read to the buffer's end.
const char *firstOf(const char *from, const char *to, QByteArrayView bytes)
{
    constexpr std::ptrdiff_t Window = 64;
    while (from < to) {
        const char *const windowEnd = from + std::min(Window, to - from);
        const char *found = windowEnd;
        for (const char byte : bytes) {
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

qsizetype DxfInput::find(QByteArrayView bytes, qsizetype limit)
{
    qsizetype looked = 0;
    for (;;) {
        const char *const data = m_buffer.constData() + m_begin;
        const qsizetype end = std::min(m_end - m_begin, limit);
        const char *const found = firstOf(data + looked, data + end, bytes);
        if (found != data + end)
            return found - data;
        looked = end;
        if (looked >= limit || !readPiece())
            return -1;
    }
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
