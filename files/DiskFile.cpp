#include "files/DiskFile.h"

#include "shapes/SkizzarError.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

enum class Access { Read, Write };

// The reason behind an error number of the system, in the words of the editor where they say more.
QString reason(int error, Access access)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("Die Datei existiert nicht.");
    case EACCES:
    case EPERM:
        return access == Access::Read ? QStringLiteral("Keine Berechtigung zum Lesen.")
                                      : QStringLiteral("Keine Berechtigung zum Schreiben.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Pfad ist länger, als das System erlaubt.");
    case ELOOP:
        return QStringLiteral("Die symbolischen Verknüpfungen im Pfad bilden eine Schleife.");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// The failure of the system call just made.
[[noreturn]] void fail(const QString &fileName, Access access)
{
    const int error = errno;
    throw FileError(fileName, reason(error, access));
}

QString incompleteWrite()
{
    return QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden.");
}

// A folder, pipe, device or socket where a file is expected.
void refuseAllButFiles(const QString &fileName, mode_t mode)
{
    if (S_ISREG(mode))
        return;
    const QString what = S_ISDIR(mode)    ? QStringLiteral("ein Ordner")
                         : S_ISFIFO(mode) ? QStringLiteral("eine Pipe")
                         : S_ISSOCK(mode) ? QStringLiteral("ein Socket")
                                          : QStringLiteral("ein Gerät");
    throw FileError(fileName, QStringLiteral("Das ist %1, keine Datei.").arg(what));
}

// Why no new file can be made beside fileName; fallback when nothing shows why.
QString folderFailure(const QString &fileName, const QString &fallback)
{
    const QString folder = QFileInfo(fileName).absolutePath();
    const QByteArray native = QFile::encodeName(folder);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) {
        const int error = errno;
        return error == ENOENT ? QStringLiteral("Der Ordner „%1“ existiert nicht.").arg(QDir::toNativeSeparators(folder))
                               : reason(error, Access::Write);
    }
    if (::faccessat(AT_FDCWD, native.constData(), W_OK, AT_EACCESS) != 0)
        return reason(errno, Access::Write);
    return fallback;
}

// Gives the new file fd the owner, group, mode and extended attributes (access lists among them)
// of the file it is to replace; false where this user may not.
bool takeOver(int fd, const QByteArray &native, const struct stat &existing)
{
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0 || ::fchmod(fd, existing.st_mode & 07777) != 0)
        return false;
    // The system drops a setgid bit silently for a user outside the group.
    struct stat made {};
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

// Puts a complete new file in the place of the old one at once. False, with nothing written, where
// the new file could not be what the existing one is.
bool replaceWhole(const QString &fileName, const struct stat *existing,
                  const std::function<bool(QIODevice &)> &write)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (existing)
            return false;
        throw FileError(fileName, folderFailure(fileName, file.errorString()));
    }
    if (existing && !takeOver(int(file.handle()), QFile::encodeName(fileName), *existing)) {
        file.cancelWriting();
        return false;
    }
    // QSaveFile::commit() does not notice when its last flush writes only part of the file (a full
    // disk), and would put the truncated file in place: the explicit flush does. A short write
    // leaves no reason behind, Qt says "Unknown error".
    if (!write(file) || !file.flush() || !file.commit()) {
        const bool shortWrite = file.error() == QFileDevice::NoError || file.error() == QFileDevice::WriteError;
        throw FileError(fileName, shortWrite ? incompleteWrite() : file.errorString());
    }
    return true;
}

// Overwrites the file itself with the complete text. Room for all of it is taken first, so that a
// full disk stops the save before the file has changed.
void overwrite(const QString &fileName, const std::function<bool(QIODevice &)> &write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    const QByteArray &text = buffer.data();

    const int fd = ::open(QFile::encodeName(fileName).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        fail(fileName, Access::Write);
    QFile file; // closes fd however this ends
    file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        fail(fileName, Access::Write);
    refuseAllButFiles(fileName, info.st_mode); // the name may stand for something else by now

    if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, text.size()) != 0
        && (errno == ENOSPC || errno == EDQUOT || errno == EFBIG))
        throw FileError(fileName, incompleteWrite());
    qsizetype written = 0;
    while (written < text.size()) {
        const ssize_t n = ::pwrite(fd, text.constData() + written, size_t(text.size() - written), written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw FileError(fileName, incompleteWrite());
        written += n;
    }
    if (::ftruncate(fd, text.size()) != 0 || ::fsync(fd) != 0)
        fail(fileName, Access::Write);
}

} // namespace

DiskFile::DiskFile(const QString &fileName) : m_fileName(fileName)
{
    const QByteArray native = QFile::encodeName(fileName);
    // Asked before opening: opening a pipe would wait for a writer, and opening a device may act on it.
    struct stat info {};
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
}

qsizetype DiskFile::read(char *into, qsizetype most)
{
    const qint64 read = m_file.read(into, most);
    if (read < 0)
        throw FileError(m_fileName, m_file.errorString());
    return read;
}

void DiskFile::save(const QString &fileName, const std::function<bool(QIODevice &)> &write)
{
    struct stat existing {};
    if (::stat(QFile::encodeName(fileName).constData(), &existing) != 0) {
        if (errno != ENOENT)
            fail(fileName, Access::Write);
        replaceWhole(fileName, nullptr, write);
        return;
    }
    refuseAllButFiles(fileName, existing.st_mode);
    // A new file in its place would leave the other links with the old text.
    if (existing.st_nlink > 1 || !replaceWhole(fileName, &existing, write))
        overwrite(fileName, write);
}
