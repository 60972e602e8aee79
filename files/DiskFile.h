#pragma once
// A drawing's file on disk: only a regular file is read, mapped rather than copied, and saving
// leaves the file it replaces what it was.

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <functional>

class QIODevice;

class DiskFile
{
public:
    // Opens a file for reading. Anything but a regular file (a folder, pipe, device or socket) is
    // refused at once, without waiting for a writer or touching a device. Raises FileError.
    explicit DiskFile(const QString &fileName);

    // The whole file, valid while this object lives: mapped where the file system allows, read
    // otherwise (files under /proc tell no size). Raises FileError.
    QByteArrayView content();

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
    QByteArray m_read;
};
