#include "files/RecoveryRecord.h"

#include "files/SystemCalls.h"
#include "shapes/SkizzarError.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QByteArray Header = QByteArrayLiteral("Skizzar recovery record 1\n");
const QString Prefix = QStringLiteral("record-");
const QString UnnamedPrefix = QStringLiteral(".record-");
// An action longer than this is damage: nothing is allocated for it.
constexpr quint32 LongestEntry = 1u << 30;
// Bursts of changes are synced together.
constexpr std::chrono::milliseconds SyncPause{100};

// Where a record keeps its copy of the file its drawing was read from, and that copy while it is made.
QString baseCopyOf(const QString &record)
{
    return record + QStringLiteral(".base");
}

QString partialBaseCopyOf(const QString &record)
{
    return baseCopyOf(record) + QStringLiteral(".neu");
}

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

// The entries of one action, after its last Restart if it has one; false where they are no
// whole entries.
bool decodeAction(const QByteArray &payload, QList<RecoveryEntry> &entries, bool &restarted)
{
    QDataStream in(payload);
    RecoveryEntry::format(in);
    do {
        RecoveryEntry e;
        if (!e.read(in))
            return false;
        if (e.kind == RecoveryEntry::Kind::Restart) {
            entries.clear();
            restarted = true;
        } else
            entries.append(e);
    } while (!in.atEnd());
    return true;
}

QByteArray framed(const QByteArray &payload)
{
    QByteArray bytes(4 + payload.size() + 4, Qt::Uninitialized);
    qToLittleEndian(quint32(payload.size()), bytes.data());
    std::copy(payload.begin(), payload.end(), bytes.begin() + 4);
    qToLittleEndian(crc32(payload), bytes.data() + 4 + payload.size());
    return bytes;
}

} // namespace

QByteArray RecoveryRecord::encode(const QList<RecoveryEntry> &entries)
{
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    RecoveryEntry::format(out);
    for (const RecoveryEntry &e : entries)
        e.write(out);
    return framed(payload);
}

QString RecoveryRecord::baseCopyName() const
{
    return baseCopyOf(m_fileName);
}

QByteArray RecoveryRecord::header()
{
    return Header;
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
        const quint32 length = left >= 4 ? qFromLittleEndian<quint32>(bytes.constData() + at) : 0;
        QList<RecoveryEntry> action;
        bool restarted = false;
        if (left < 8 || length == 0 || length > LongestEntry || qsizetype(length) > left - 8
            || qFromLittleEndian<quint32>(bytes.constData() + at + 4 + length) != crc32(bytes.mid(at + 4, length))
            || !decodeAction(bytes.mid(at + 4, length), action, restarted)) {
            contents.damaged = true;
            break;
        }
        if (restarted)
            contents.entries = action;
        else
            contents.entries.append(action);
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

std::optional<RecoveryEntry> RecoveryRecord::Contents::readFile() const
{
    std::optional<RecoveryEntry> read;
    for (const RecoveryEntry &e : entries) {
        if (e.kind == RecoveryEntry::Kind::Read) {
            read = e;
        } else if (e.kind == RecoveryEntry::Kind::Moved && read) {
            read->fileName = e.fileName;
            read->stamp = e.stamp;
        }
    }
    return read;
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
        SystemCalls::fail(folder, SystemCalls::Access::Write);
    const QFileInfo unnamed(QFile::decodeName(pattern));
    m_fileName = unnamed.dir().filePath(Prefix + unnamed.fileName().mid(UnnamedPrefix.size()));
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0 || !SystemCalls::writeAllAt(m_fd, Header.constData(), Header.size(), 0)
        || ::rename(pattern.constData(), QFile::encodeName(m_fileName).constData()) != 0) {
        const int error = errno;
        ::unlink(pattern.constData());
        ::close(m_fd);
        throw FileError(folder, SystemCalls::writeReason(error));
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
    using Kind = RecoveryEntry::Kind;
    QDataStream out(&m_pending, QIODevice::Append);
    RecoveryEntry::format(out);
    if (entry.kind == Kind::Read)
        m_read = entry;
    if (entry.kind == Kind::Read || entry.kind == Kind::Emptied) {
        m_sinceBase = {entry};
        m_baseOnly = true;
    } else if (entry.kind == Kind::Undone) {
        m_baseOnly = false;
    } else if (entry.kind == Kind::Placed && m_baseOnly) {
        // The drawing before can no longer come back: the record starts afresh, in the same
        // action, so that a kill keeps either the old record or the new one.
        m_baseOnly = false;
        RecoveryEntry(Kind::Restart).write(out);
        for (const RecoveryEntry &e : std::as_const(m_sinceBase))
            e.write(out);
        m_sinceBase.clear();
    } else if (m_baseOnly) {
        m_sinceBase.append(entry);
    }
    entry.write(out);
    if (m_depth == 0)
        flush();
}

void RecoveryRecord::endAction()
{
    if (--m_depth == 0)
        flush();
}

void RecoveryRecord::flush()
{
    if (m_pending.isEmpty())
        return;
    const QByteArray bytes = framed(m_pending);
    m_pending.clear();
    if (!SystemCalls::writeAllAt(m_fd, bytes.constData(), bytes.size(), m_size)) {
        // What stands before stays a whole record: the rest is cut off, or else the next entries
        // are written over it.
        const int error = errno;
        [[maybe_unused]] const int cut = ::ftruncate(m_fd, m_size);
        throw FileError(m_fileName, SystemCalls::writeReason(error));
    }
    m_size += bytes.size();
    {
        const std::lock_guard lock(m_mutex);
        m_dirty = true;
    }
    m_changed.notify_one();
}

void RecoveryRecord::remove()
{
    ::unlink(QFile::encodeName(baseCopyName()).constData());
    ::unlink(QFile::encodeName(m_fileName).constData());
}

void RecoveryRecord::keepReadFile(const QString &fileName)
{
    if (!m_read || m_read->fileName == baseCopyName() || DiskFile::stampOf(fileName) != m_read->stamp)
        return;
    // Copied under another name first: the copy the record may already name stays whole.
    const QString partial = partialBaseCopyOf(m_fileName);
    QFile::remove(partial);
    if (!QFile::copy(m_read->fileName, partial))
        throw FileError(m_read->fileName, QStringLiteral("Die Kopie für die Wiederherstellung ließ sich nicht anlegen."));
    const QByteArray native = QFile::encodeName(partial);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced || ::rename(native.constData(), QFile::encodeName(baseCopyName()).constData()) != 0) {
        QFile::remove(partial);
        SystemCalls::fail(baseCopyName(), SystemCalls::Access::Write);
    }
    RecoveryEntry moved{RecoveryEntry::Kind::Moved};
    moved.fileName = baseCopyName();
    moved.stamp = *DiskFile::stampOf(baseCopyName());
    append(moved);
    flush(); // before the file changes, whatever else the action does
    m_read->fileName = moved.fileName;
    m_read->stamp = moved.stamp;
}

void RecoveryRecord::syncInBackground()
{
    // The record's name, too, must survive a power cut.
    SystemCalls::syncFolder(QFileInfo(m_fileName).absolutePath());
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
    for (const QString &name : {baseCopyOf(m_fileName), partialBaseCopyOf(m_fileName), m_fileName})
        ::unlink(QFile::encodeName(name).constData());
}

std::vector<RecoveryRecord::Left> RecoveryRecord::takeLeft(const QString &folder)
{
    std::vector<Left> left;
    for (const QFileInfo &info : QDir(folder).entryInfoList({Prefix + QLatin1Char('*'), UnnamedPrefix + QLatin1Char('*')},
                                                            QDir::Files | QDir::Hidden, QDir::Time | QDir::IgnoreCase)) {
        if (info.fileName().indexOf(QLatin1Char('.'), 1) >= 0) // a record's copy of its file
            continue;
        const QByteArray native = QFile::encodeName(info.absoluteFilePath());
        const int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) { // its editor is still running
            ::close(fd);
            continue;
        }
        if (info.fileName().startsWith(UnnamedPrefix)) { // died before it held anything
            ::unlink(native.constData());
            ::close(fd);
            continue;
        }
        left.emplace_back(info.absoluteFilePath(), fd);
    }
    return left;
}
