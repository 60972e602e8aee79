#include "files/RecoveryRecord.h"

#include "files/FileErrors.h"
#include "shapes/SkizzarError.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Header = QByteArrayLiteral("Skizzar recovery record 1\n");
const QString Prefix = QStringLiteral("record-");
const QString UnnamedPrefix = QStringLiteral(".record-");
// An entry longer than this is damage, not a text: nothing is allocated for it.
constexpr quint32 LongestEntry = 256u << 20;
// Bursts of changes are synced together.
constexpr std::chrono::milliseconds SyncPause{100};

quint32 crc32(const QByteArray &bytes)
{
    static constexpr std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putNumber(QByteArray &out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out += char(value >> (8 * i));
}

quint32 number(const char *at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint8(at[i]);
    return value;
}

QDataStream &stream(QDataStream &s)
{
    s.setVersion(QDataStream::Qt_6_0);
    s.setByteOrder(QDataStream::LittleEndian);
    s.setFloatingPointPrecision(QDataStream::SinglePrecision);
    return s;
}

bool writeAllAt(int fd, const QByteArray &bytes, qint64 at)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), at + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// One entry from its payload; false where the payload is no whole entry.
bool decode(const QByteArray &payload, RecoveryEntry &e)
{
    QDataStream in(payload);
    stream(in);
    quint8 kind = 0;
    in >> kind;
    e.kind = RecoveryEntry::Kind(kind);
    QByteArray fileName;
    switch (e.kind) {
    case RecoveryEntry::Kind::Emptied:
    case RecoveryEntry::Kind::Undone:
        break;
    case RecoveryEntry::Kind::Titled:
        in >> e.text >> fileName >> e.saved;
        break;
    case RecoveryEntry::Kind::Read: {
        quint64 device = 0, inode = 0;
        qint64 size = 0, seconds = 0, nanoseconds = 0;
        in >> fileName >> device >> inode >> size >> seconds >> nanoseconds;
        e.stamp = {dev_t(device), ino_t(inode), off_t(size), std::time_t(seconds), long(nanoseconds)};
        break;
    }
    case RecoveryEntry::Kind::Placed: {
        quint8 placement = 0;
        in >> placement >> e.x1 >> e.y1 >> e.x2 >> e.y2 >> e.color;
        e.placement = RecoveryEntry::Placement(placement);
        if (e.placement == RecoveryEntry::Placement::Text)
            in >> e.text >> e.font >> e.fontSize;
        else if (placement < quint8(RecoveryEntry::Placement::Punkt) || placement > quint8(RecoveryEntry::Placement::Text))
            return false;
        break;
    }
    case RecoveryEntry::Kind::Colour:
    case RecoveryEntry::Kind::BackColour:
        in >> e.color;
        break;
    default:
        return false;
    }
    e.fileName = QFile::decodeName(fileName);
    return in.status() == QDataStream::Ok && in.atEnd();
}

} // namespace

QByteArray RecoveryRecord::encode(const RecoveryEntry &e)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    stream(out) << quint8(e.kind);
    switch (e.kind) {
    case RecoveryEntry::Kind::Emptied:
    case RecoveryEntry::Kind::Undone:
        break;
    case RecoveryEntry::Kind::Titled:
        out << e.text << QFile::encodeName(e.fileName) << e.saved;
        break;
    case RecoveryEntry::Kind::Read:
        out << QFile::encodeName(e.fileName) << quint64(e.stamp.device) << quint64(e.stamp.inode)
            << qint64(e.stamp.size) << qint64(e.stamp.modifiedSeconds) << qint64(e.stamp.modifiedNanoseconds);
        break;
    case RecoveryEntry::Kind::Placed:
        out << quint8(e.placement) << e.x1 << e.y1 << e.x2 << e.y2 << e.color;
        if (e.placement == RecoveryEntry::Placement::Text)
            out << e.text << e.font << e.fontSize;
        break;
    case RecoveryEntry::Kind::Colour:
    case RecoveryEntry::Kind::BackColour:
        out << e.color;
        break;
    }
    QByteArray framed;
    putNumber(framed, quint32(payload.size()));
    framed += payload;
    putNumber(framed, crc32(payload));
    return framed;
}

RecoveryRecord::Contents RecoveryRecord::parse(const QByteArray &bytes)
{
    Contents contents;
    if (!bytes.startsWith(Header)) {
        contents.damaged = !bytes.isEmpty();
        return contents;
    }
    for (qsizetype at = Header.size(); at < bytes.size();) {
        const qsizetype left = bytes.size() - at;
        const quint32 length = left >= 4 ? number(bytes.constData() + at) : 0;
        RecoveryEntry entry;
        if (left < 8 || length > LongestEntry || qsizetype(length) > left - 8
            || number(bytes.constData() + at + 4 + length) != crc32(bytes.mid(at + 4, length))
            || !decode(bytes.mid(at + 4, length), entry)) {
            contents.damaged = true;
            break;
        }
        contents.entries.append(entry);
        at += 8 + length;
    }
    return contents;
}

bool RecoveryRecord::Contents::unsaved() const
{
    bool changed = false;
    for (const RecoveryEntry &e : entries) {
        if (e.kind == RecoveryEntry::Kind::Placed || e.kind == RecoveryEntry::Kind::Undone)
            changed = true;
        else if (e.kind == RecoveryEntry::Kind::Read || (e.kind == RecoveryEntry::Kind::Titled && e.saved))
            changed = false;
    }
    return changed;
}

QString RecoveryRecord::Contents::title() const
{
    QString title = QStringLiteral("Skizzar - Untitled");
    for (const RecoveryEntry &e : entries)
        if (e.kind == RecoveryEntry::Kind::Titled)
            title = e.text;
    return title;
}

RecoveryRecord::RecoveryRecord(const QString &folder)
{
    // Made under a name that no other editor reads, and locked, before it gets its real name: an
    // editor starting meanwhile takes an unlocked record for one of a dead run.
    QByteArray pattern = QFile::encodeName(QDir(folder).filePath(UnnamedPrefix + QStringLiteral("XXXXXX")));
    m_fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_fd < 0)
        FileErrors::fail(folder, FileErrors::Access::Write);
    const QFileInfo unnamed(QFile::decodeName(pattern));
    m_fileName = unnamed.dir().filePath(Prefix + unnamed.fileName().mid(UnnamedPrefix.size()));
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0 || !writeAllAt(m_fd, Header, 0)
        || ::rename(pattern.constData(), QFile::encodeName(m_fileName).constData()) != 0) {
        const int error = errno;
        ::unlink(pattern.constData());
        ::close(m_fd);
        throw FileError(folder, FileErrors::writeReason(error));
    }
    m_size = Header.size();
    m_syncer = std::thread([this] { syncInBackground(); });
}

RecoveryRecord::~RecoveryRecord()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_one();
    m_syncer.join();
    ::close(m_fd);
}

void RecoveryRecord::append(const RecoveryEntry &entry)
{
    const QByteArray bytes = encode(entry);
    if (!writeAllAt(m_fd, bytes, m_size)) {
        // What stands before stays a whole record.
        const int error = errno;
        (void)::ftruncate(m_fd, m_size);
        throw FileError(m_fileName, FileErrors::writeReason(error));
    }
    m_size += bytes.size();
    {
        const std::lock_guard lock(m_mutex);
        m_dirty = true;
    }
    m_changed.notify_one();
}

void RecoveryRecord::restart()
{
    if (::ftruncate(m_fd, Header.size()) != 0)
        FileErrors::fail(m_fileName, FileErrors::Access::Write);
    m_size = Header.size();
}

void RecoveryRecord::remove()
{
    ::unlink(QFile::encodeName(m_fileName).constData());
}

void RecoveryRecord::syncInBackground()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_dirty || m_stopping; });
        if (m_stopping)
            return;
        m_dirty = false;
        lock.unlock();
        ::fdatasync(m_fd);
        lock.lock();
        m_changed.wait_for(lock, SyncPause, [this] { return m_stopping; });
    }
}

RecoveryRecord::Left::Left(Left &&other) noexcept : m_fileName(std::move(other.m_fileName)), m_fd(other.m_fd)
{
    other.m_fd = -1;
}

RecoveryRecord::Left::~Left()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QByteArray RecoveryRecord::Left::bytes() const
{
    QFile file;
    if (!file.open(m_fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle) || !file.seek(0))
        throw FileError(m_fileName, file.errorString());
    const QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(m_fileName, file.errorString());
    return all;
}

void RecoveryRecord::Left::drop()
{
    ::unlink(QFile::encodeName(m_fileName).constData());
}

std::vector<RecoveryRecord::Left> RecoveryRecord::takeLeft(const QString &folder)
{
    struct Found
    {
        QString name;
        std::int64_t modified;
    };
    std::vector<Found> found;
    const QDir dir(folder);
    for (const QFileInfo &info : dir.entryInfoList({Prefix + QLatin1Char('*'), UnnamedPrefix + QLatin1Char('*')},
                                                   QDir::Files | QDir::Hidden))
        found.push_back({info.absoluteFilePath(), info.lastModified().toMSecsSinceEpoch()});
    std::stable_sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.modified > b.modified; });
    std::vector<Left> left;
    for (const Found &f : found) {
        const QByteArray native = QFile::encodeName(f.name);
        const int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) { // its editor is still running
            ::close(fd);
            continue;
        }
        if (QFileInfo(f.name).fileName().startsWith(UnnamedPrefix)) { // died before it held anything
            ::unlink(native.constData());
            ::close(fd);
            continue;
        }
        left.emplace_back(f.name, fd);
    }
    return left;
}
