#pragma once
// A drawing's file on disk: only a regular file is read, piece by piece, and saving leaves the file
// it replaces what it was.

#include "files/DxfSource.h"

#include <QFile>
#include <QString>
#include <ctime>
#include <functional>
#include <optional>
#include <sys/types.h>

class DiskFile : public DxfSource
{
public:
    // What tells one state of a file from another: another program that writes or replaces the
    // file changes at least one of them.
    struct Stamp
    {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::time_t modifiedSeconds = 0;
        long modifiedNanoseconds = 0;
        bool operator==(const Stamp &) const = default;
    };

    // Opens a file for reading. Anything but a regular file (a folder, pipe, device or socket) is
    // refused at once, without waiting for a writer or touching a device. Raises FileError.
    explicit DiskFile(const QString &fileName);

    // The next bytes of the file. A file cut short by another program while it is read simply
    // ends early; files under /proc, which tell no size, read as any other. Raises FileError.
    qsizetype read(char *into, qsizetype most) override;

    // The file as it was opened.
    const Stamp &stamp() const { return m_stamp; }

    // The file of that name as it is now; none where there is no such file. Raises FileError.
    static std::optional<Stamp> stampOf(const QString &fileName);

    // What a writer made of the file: all of it, less (the device refused a write), or it
    // stopped as the user asked.
    enum class Written {
        Whole,
        Short,
        Stopped
    };
    using Writer = std::function<Written(QIODevice &)>;

    // Writes a file through write. A new file, or a regular file whose owner, group, mode and extended attributes the
    // new one can be given, is replaced by a complete new file at once. Where that would change
    // the file (it has more than one link, an owner or group this user cannot give away, or its
    // folder takes no new file), the file itself is overwritten from the complete text, with a
    // complete copy of the old one on disk until the new text is (see SafetyCopy); the growth
    // is written first, beyond the old end, so that a full disk stops the save before any old
    // byte changes. Anything other than a regular file is refused. Returns the file as written;
    // none where write stopped, which it may until the whole text is made, before the file or a
    // copy of it is touched. Raises FileError, leaving the file as it was. Either way no
    // temporary file is left behind.
    static std::optional<Stamp> save(const QString &fileName, const Writer &write);

private:
    QString m_fileName;
    QFile m_file;
    Stamp m_stamp;
};
