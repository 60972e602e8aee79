#pragma once
// A drawing's file on disk: only a regular file is read, piece by piece, and saving leaves the file
// it replaces what it was.

#include "files/DxfSource.h"

#include <QFile>
#include <QString>
#include <functional>

class QIODevice;

class DiskFile : public DxfSource
{
public:
    // Opens a file for reading. Anything but a regular file (a folder, pipe, device or socket) is
    // refused at once, without waiting for a writer or touching a device. Raises FileError.
    explicit DiskFile(const QString &fileName);

    // The next bytes of the file. A file cut short by another program while it is read simply
    // ends early; files under /proc, which tell no size, read as any other. Raises FileError.
    qsizetype read(char *into, qsizetype most) override;

    // Writes a file through write, which returns false when the device took less than it was
    // given. A new file, or a regular file whose owner, group, mode and extended attributes the
    // new one can be given, is replaced by a complete new file at once. Where that would change
    // the file (it has more than one link, an owner or group this user cannot give away, or its
    // folder takes no new file), the file itself is overwritten from the complete text. Anything
    // other than a regular file is refused. Raises FileError; no temporary file is left behind.
    static void save(const QString &fileName, const std::function<bool(QIODevice &)> &write);

private:
    QString m_fileName;
    QFile m_file;
};
