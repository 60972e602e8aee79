#include "files/StateFolder.h"

#include "files/SystemCalls.h"
#include "shapes/SkizzarError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace StateFolder {

QString path()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/skizzar"));
}

QString made()
{
    const QString folder = path();
    const QString parent = QDir::cleanPath(folder + QStringLiteral("/.."));
    if (!QDir().mkpath(parent))
        throw FileError(folder, SystemCalls::reason(EACCES, SystemCalls::Access::Write));
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        SystemCalls::fail(folder, SystemCalls::Access::Write);
    return folder;
}

} // namespace StateFolder
