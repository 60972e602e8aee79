#pragma once
// A file's bytes as the reader asks for them, up to a limit, with a say before each piece: where
// the user stops the reading, the file seems to end there.

#include "files/DxfSource.h"

#include <functional>

class StoppableSource : public DxfSource
{
public:
    // Reads at most limit bytes of source (all where limit is negative), which holds size bytes;
    // goOn is told before each piece how far the reading has come (from 0 to 1), and ends the
    // file where it says to stop.
    StoppableSource(DxfSource &source, qint64 size, qint64 limit, std::function<bool(double done)> goOn);

    qsizetype read(char *into, qsizetype most) override;

    bool stopped() const { return m_stopped; }
    // How many bytes the reader was given.
    qint64 bytesRead() const { return m_read; }

private:
    DxfSource &m_source;
    const qint64 m_size;
    const qint64 m_limit;
    const std::function<bool(double done)> m_goOn;
    qint64 m_read = 0;
    bool m_stopped = false;
};
