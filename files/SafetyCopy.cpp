#include "files/SafetyCopy.h"

#include "files/StateFolder.h"
#include "files/SystemCalls.h"
#include "shapes/SkizzarError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString RecordPrefix = QStringLiteral("overwrite-");
const QString UnnamedRecordPrefix = QStringLiteral(".overwrite-");
const QByteArray Complete = QByteArrayLiteral("complete");
// Every copy's name carries it, so that a record can never make the editor remove another file.
const QString CopyMark = QStringLiteral(".alt-");

QByteArray native(const QString &name)
{
    return QFile::encodeName(name);
}

// Copies `size` bytes from one open file to another, both from their start.
bool copyBytes(int from, int to, qint64 size)
{
    QFile source;
    if (!source.open(from, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle) || !source.seek(0))
        return false;
    QByteArray piece(1 << 20, Qt::Uninitialized);
    for (qint64 at = 0; at < size;) {
        const qint64 n = source.read(piece.data(), std::min<qint64>(piece.size(), size - at));
        if (n <= 0 || !SystemCalls::writeAllAt(to, piece.constData(), n, at))
            return false;
        at += n;
    }
    return true;
}

// A new file in folder, named after fileName with a random mark: plan.dxf gives plan.alt-x1Y2z3.dxf,
// which the Open dialog still shows.
int makeCopyFile(const QString &folder, const QString &fileName, QString &made)
{
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    QByteArray pattern = native(QDir(folder).filePath(base + CopyMark + QStringLiteral("XXXXXX") + suffix));
    const int fd = ::mkostemps(pattern.data(), int(native(suffix).size()), O_CLOEXEC);
    if (fd >= 0)
        made = QFile::decodeName(pattern);
    return fd;
}

} // namespace

SafetyCopy::SafetyCopy(const QString &fileName, int fd, qint64 size) : m_size(size)
{
    const QString state = StateFolder::made();
    openRecord(state);
    int error = 0;
    for (const QString &folder : {QFileInfo(fileName).absolutePath(), state})
        if (copyInto(folder, fileName, fd, error))
            return;
    ::unlink(native(m_recordName).constData());
    ::close(m_record);
    if (SystemCalls::tookOnlyPart(error))
        throw FileError(fileName, SystemCalls::incompleteWrite());
    throw FileError(fileName, QStringLiteral("Vor dem Überschreiben ließ sich keine Kopie der Datei anlegen (%1)")
                                  .arg(SystemCalls::reason(error, SystemCalls::Access::Write)));
}

SafetyCopy::~SafetyCopy()
{
    if (m_kept)
        return;
    ::unlink(native(m_copyName).constData());
    ::unlink(native(m_recordName).constData());
    ::close(m_record);
}

void SafetyCopy::openRecord(const QString &stateFolder)
{
    // Made under a name that no other editor reads, and locked, before it gets its real name: an
    // editor starting meanwhile takes a record without a lock for one of a dead run.
    QByteArray pattern = native(QDir(stateFolder).filePath(UnnamedRecordPrefix + QStringLiteral("XXXXXX")));
    m_record = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (m_record < 0)
        SystemCalls::fail(stateFolder, SystemCalls::Access::Write);
    m_recordName = QFile::decodeName(pattern);
    if (::flock(m_record, LOCK_EX) != 0) {
        const int error = errno;
        ::unlink(pattern.constData());
        ::close(m_record);
        throw FileError(stateFolder, SystemCalls::reason(error, SystemCalls::Access::Write));
    }
}

bool SafetyCopy::writeRecord(const QByteArray &content)
{
    if (::ftruncate(m_record, 0) != 0 || !SystemCalls::writeAllAt(m_record, content.constData(), content.size(), 0)
        || ::fdatasync(m_record) != 0)
        return false;
    const QFileInfo current(m_recordName);
    if (!current.fileName().startsWith(UnnamedRecordPrefix))
        return true;
    const QString named = current.dir().filePath(RecordPrefix + current.fileName().mid(UnnamedRecordPrefix.size()));
    if (::rename(native(m_recordName).constData(), native(named).constData()) != 0)
        return false;
    m_recordName = named;
    return SystemCalls::syncFolder(current.absolutePath());
}

bool SafetyCopy::copyInto(const QString &folder, const QString &fileName, int fd, int &error)
{
    QString copyName;
    const int copy = makeCopyFile(folder, fileName, copyName);
    if (copy < 0) {
        error = errno;
        return false;
    }
    m_copyName = copyName;
    const QByteArray names = native(fileName) + '\0' + native(copyName) + '\0';
    // The record names the copy before it is written: a run that dies meanwhile leaves a record
    // without its last line, and the next start removes both.
    errno = 0;
    const bool copied = writeRecord(names) && copyBytes(fd, copy, m_size) && ::fsync(copy) == 0
                        && SystemCalls::syncFolder(folder) && writeRecord(names + Complete + '\0');
    error = errno;
    ::close(copy);
    if (!copied)
        ::unlink(native(copyName).constData());
    return copied;
}

bool SafetyCopy::restore(int fd) const
{
    const int copy = ::open(native(m_copyName).constData(), O_RDONLY | O_CLOEXEC);
    if (copy < 0)
        return false;
    const bool restored = copyBytes(copy, fd, m_size) && ::ftruncate(fd, m_size) == 0 && ::fsync(fd) == 0;
    ::close(copy);
    return restored;
}

QString SafetyCopy::keep()
{
    m_kept = true;
    ::close(m_record);
    return m_copyName;
}

QList<SafetyCopy::LeftBehind> SafetyCopy::takeLeftBehind()
{
    QList<LeftBehind> found;
    const QDir folder(StateFolder::path());
    const QStringList records = folder.entryList({RecordPrefix + QLatin1Char('*'), UnnamedRecordPrefix + QLatin1Char('*')},
                                                 QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : records) {
        const QByteArray path = native(folder.filePath(name));
        const int fd = ::open(path.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) { // its editor is still overwriting the file
            ::close(fd);
            continue;
        }
        QFile record;
        const QByteArray content = record.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle) ? record.read(4096) : QByteArray();
        const QList<QByteArray> parts = content.split('\0');
        const QString copyName = parts.size() > 1 ? QFile::decodeName(parts.at(1)) : QString();
        const bool complete = parts.size() > 2 && parts.at(2) == Complete && name.startsWith(RecordPrefix);
        if (complete && QFileInfo::exists(copyName))
            found.append({QFile::decodeName(parts.at(0)), copyName});
        else if (!complete && QFileInfo(copyName).fileName().contains(CopyMark))
            ::unlink(native(copyName).constData());
        ::unlink(path.constData());
        ::close(fd);
    }
    return found;
}
