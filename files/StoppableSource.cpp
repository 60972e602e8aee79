#include "files/StoppableSource.h"

#include <algorithm>

StoppableSource::StoppableSource(DxfSource &source, qint64 size, qint64 limit, std::function<bool(double done)> goOn)
    : m_source(source), m_size(size), m_limit(limit), m_goOn(std::move(goOn))
{
}

qsizetype StoppableSource::read(char *into, qsizetype most)
{
    if (m_stopped || !m_goOn(m_size > 0 ? double(m_read) / double(m_size) : 0.0)) {
        m_stopped = true;
        return 0;
    }
    if (m_limit >= 0)
        most = qsizetype(std::min<qint64>(most, m_limit - m_read));
    const qsizetype read = most > 0 ? m_source.read(into, most) : 0;
    m_read += read;
    return read;
}
