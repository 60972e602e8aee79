#include "files/DiskFile.h"

#include "files/SafetyCopy.h"
#include "files/SystemCalls.h"
#include "shapes/SkizzarError.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using SystemCalls::Access;
using SystemCalls::fail;
using SystemCalls::refuseAllButFiles;

namespace {

DiskFile::Stamp stampOf(const struct stat &info)
{
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

// Why no new file can be made beside fileName; fallback when nothing shows why.
QString folderFailure(const QString &fileName, const QString &fallback)
{
    const QString folder = QFileInfo(fileName).absolutePath();
    const QByteArray native = QFile::encodeName(folder);
    struct stat info = {};
    if (::stat(native.constData(), &info) != 0) {
        const int error = errno;
        return error == ENOENT ? QStringLiteral("Der Ordner „%1“ existiert nicht.").arg(QDir::toNativeSeparators(folder))
                               : SystemCalls::reason(error, Access::Write);
    }
    if (::faccessat(AT_FDCWD, native.constData(), W_OK, AT_EACCESS) != 0)
        return SystemCalls::reason(errno, Access::Write);
    return fallback;
}

// Gives the new file fd the owner, group, mode and extended attributes (access lists among them)
// of the file it is to replace; false where this user may not.
bool takeOver(int fd, const QByteArray &native, const struct stat &existing)
{
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0 || ::fchmod(fd, existing.st_mode & 07777) != 0)
        return false;
    // The system drops a setgid bit silently for a user outside the group.
    struct stat made = {};
    if (::fstat(fd, &made) != 0 || made.st_mode != existing.st_mode)
        return false;
    ssize_t size = ::listxattr(native.constData(), nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP;
    QByteArray names(size, '\0');
    size = ::listxattr(native.constData(), names.data(), names.size());
    if (size < 0)
        return false;
    for (const QByteArray &name : names.first(size).split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t length = ::getxattr(native.constData(), name.constData(), nullptr, 0);
        if (length < 0)
            return false;
        QByteArray value(length, '\0');
        if (::getxattr(native.constData(), name.constData(), value.data(), value.size()) != length
            || ::fsetxattr(fd, name.constData(), value.constData(), value.size(), 0) != 0)
            return false;
    }
    return true;
}

// Puts a complete new file in the place of the old one at once: the file as written, or none where
// write stopped. None, with nothing written, where the new file could not be what the existing
// one is.
std::optional<std::optional<DiskFile::Stamp>> replaceWhole(const QString &fileName, const struct stat *existing,
                                                           const DiskFile::Writer &write)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (existing)
            return std::nullopt;
        throw FileError(fileName, folderFailure(fileName, file.errorString()));
    }
    if (existing && !takeOver(int(file.handle()), QFile::encodeName(fileName), *existing)) {
        file.cancelWriting();
        return std::nullopt;
    }
    // QSaveFile::commit() does not notice when its last flush writes only part of the file (a full
    // disk), and would put the truncated file in place: the explicit flush does. A short write
    // leaves no reason behind, Qt says "Unknown error".
    const DiskFile::Written written = write(file);
    if (written == DiskFile::Written::Stopped) {
        file.cancelWriting();
        return std::optional<DiskFile::Stamp>();
    }
    if (written == DiskFile::Written::Short || !file.flush() || !file.commit()) {
        const bool shortWrite = file.error() == QFileDevice::NoError || file.error() == QFileDevice::WriteError;
        throw FileError(fileName, shortWrite ? SystemCalls::incompleteWrite() : file.errorString());
    }
    const std::optional<DiskFile::Stamp> stamp = DiskFile::stampOf(fileName);
    if (!stamp)
        throw FileError(fileName, SystemCalls::reason(ENOENT, Access::Write));
    return stamp;
}

// Overwrites the file itself with the complete text, its old text kept in a copy meanwhile; none
// where write stopped before.
std::optional<DiskFile::Stamp> overwrite(const QString &fileName, const DiskFile::Writer &write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (write(buffer) == DiskFile::Written::Stopped)
        return std::nullopt;
    const QByteArray &text = buffer.data();

    // Read too, for the copy.
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        fail(fileName, Access::Write);
    QFile file; // closes fd however this ends
    file.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle);
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        fail(fileName, Access::Write);
    refuseAllButFiles(fileName, info.st_mode); // the name may stand for something else by now

    const qint64 old = info.st_size, size = text.size();
    SafetyCopy copy(fileName, fd, old);
    // The growth first, as save() says; a file system without room for overwriting blocks it
    // already has (copy on write) is mended from the copy.
    errno = 0;
    const qint64 head = std::min(old, size);
    if (SystemCalls::writeAllAt(fd, text.constData() + head, size - head, head)
        && SystemCalls::writeAllAt(fd, text.constData(), head, 0) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0
        && ::fstat(fd, &info) == 0)
        return stampOf(info);
    const QString why = SystemCalls::writeReason(errno);
    if (copy.restore(fd))
        throw FileError(fileName, why);
    throw FileError(fileName, why + QStringLiteral(" Ihr vorheriger Inhalt ist in „%1“ erhalten.").arg(copy.keep()));
}

} // namespace

DiskFile::DiskFile(const QString &fileName) : m_fileName(fileName)
{
    const QByteArray native = QFile::encodeName(fileName);
    // Asked before opening: opening a pipe would wait for a writer, and opening a device may act on it.
    struct stat info = {};
    if (::stat(native.constData(), &info) != 0)
        fail(fileName, Access::Read);
    refuseAllButFiles(fileName, info.st_mode);
    // Should the name stand for a pipe by now, the open does not wait; a regular file ignores the flag.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        fail(fileName, Access::Read);
    m_file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    if (::fstat(fd, &info) != 0)
        fail(fileName, Access::Read);
    refuseAllButFiles(fileName, info.st_mode);
    m_stamp = ::stampOf(info);
}

qsizetype DiskFile::read(char *into, qsizetype most)
{
    const qint64 read = m_file.read(into, most);
    if (read < 0)
        throw FileError(m_fileName, m_file.errorString());
    return read;
}

std::optional<DiskFile::Stamp> DiskFile::stampOf(const QString &fileName)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(fileName).constData(), &info) == 0)
        return ::stampOf(info);
    if (errno != ENOENT)
        fail(fileName, Access::Write);
    return std::nullopt;
}

std::optional<DiskFile::Stamp> DiskFile::save(const QString &fileName, const Writer &write)
{
    struct stat existing = {};
    if (::stat(QFile::encodeName(fileName).constData(), &existing) != 0) {
        if (errno != ENOENT)
            fail(fileName, Access::Write);
        return *replaceWhole(fileName, nullptr, write);
    }
    refuseAllButFiles(fileName, existing.st_mode);
    // A new file in its place would leave the other links with the old text.
    if (existing.st_nlink == 1)
        if (const std::optional<std::optional<Stamp>> written = replaceWhole(fileName, &existing, write))
            return *written;
    return overwrite(fileName, write);
}
