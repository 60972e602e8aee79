#include "files/SystemCalls.h"

#include "shapes/SkizzarError.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SystemCalls {

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

void fail(const QString &fileName, Access access)
{
    const int error = errno;
    throw FileError(fileName, reason(error, access));
}

QString incompleteWrite()
{
    return QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden.");
}

bool tookOnlyPart(int error)
{
    // A write that returns less than it was given sets no error number.
    return error == 0 || error == ENOSPC || error == EDQUOT || error == EFBIG;
}

QString writeReason(int error)
{
    return tookOnlyPart(error) ? incompleteWrite() : reason(error, Access::Write);
}

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

bool writeAllAt(int fd, const char *data, qint64 size, qint64 at)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(size), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= n;
        at += n;
    }
    return true;
}

bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace SystemCalls
