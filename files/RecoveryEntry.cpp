#include "files/RecoveryEntry.h"

#include "shapes/AllShapeKinds.h"

#include <QDataStream>
#include <QFile>

#include <cmath>

QDataStream &RecoveryEntry::format(QDataStream &stream)
{
    stream.setVersion(QDataStream::Qt_6_0);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::SinglePrecision);
    return stream;
}

const ShapeKind &RecoveryEntry::placedKind() const
{
    return *AllShapeKinds[std::size_t(placement) - 1];
}

namespace {
// A read the user stopped goes under a code of its own, so that records of earlier versions, whose
// reads were always whole, still read as they were written.
constexpr quint8 StoppedRead = 10;
} // namespace

void RecoveryEntry::write(QDataStream &out) const
{
    const bool stopped = kind == Kind::Read && readUpTo >= 0;
    out << (stopped ? StoppedRead : quint8(kind));
    switch (kind) {
    case Kind::Emptied:
    case Kind::Undone:
    case Kind::Restart:
        break;
    case Kind::Titled:
        out << text << QFile::encodeName(fileName) << saved;
        break;
    case Kind::Read:
    case Kind::Moved:
        out << QFile::encodeName(fileName) << quint64(stamp.device) << quint64(stamp.inode)
            << qint64(stamp.size) << qint64(stamp.modifiedSeconds) << qint64(stamp.modifiedNanoseconds) << color;
        if (stopped)
            out << readUpTo;
        break;
    case Kind::Placed:
        out << quint8(placement) << x1 << y1 << x2 << y2 << color;
        if (placedKind().takesText)
            out << text << font << fontSize;
        break;
    case Kind::Colour:
    case Kind::BackColour:
        out << color;
        break;
    }
}

bool RecoveryEntry::read(QDataStream &in)
{
    quint8 code = 0;
    in >> code;
    const bool stopped = code == StoppedRead;
    kind = stopped ? Kind::Read : Kind(code);
    QByteArray name;
    switch (kind) {
    case Kind::Emptied:
    case Kind::Undone:
    case Kind::Restart:
        break;
    case Kind::Titled:
        in >> text >> name >> saved;
        break;
    case Kind::Read:
    case Kind::Moved: {
        quint64 device = 0, inode = 0;
        qint64 size = 0, seconds = 0, nanoseconds = 0;
        in >> name >> device >> inode >> size >> seconds >> nanoseconds >> color;
        stamp = {dev_t(device), ino_t(inode), off_t(size), std::time_t(seconds), long(nanoseconds)};
        readUpTo = -1;
        if (stopped)
            in >> readUpTo;
        break;
    }
    case Kind::Placed: {
        quint8 shape = 0;
        in >> shape >> x1 >> y1 >> x2 >> y2 >> color;
        placement = Placement(shape);
        if (shape < 1 || shape > std::size(AllShapeKinds))
            return false;
        if (placedKind().takesText)
            in >> text >> font >> fontSize;
        // No placement of the editor takes a number that is not finite.
        for (const float value : {x1, y1, x2, y2, fontSize})
            if (!std::isfinite(value))
                return false;
        break;
    }
    case Kind::Colour:
    case Kind::BackColour:
        in >> color;
        break;
    default:
        return false;
    }
    fileName = QFile::decodeName(name);
    return in.status() == QDataStream::Ok;
}
