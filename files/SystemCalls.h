#pragma once
// The system calls the file code shares, and the reasons it gives when the system refuses or a file
// cannot be written whole.

#include <QString>
#include <QtGlobal>
#include <sys/types.h>

namespace SystemCalls {

enum class Access {
    Read,
    Write
};

// The reason behind an error number of the system, in the words of the editor where they say more.
QString reason(int error, Access access);

// Raises FileError for the system call that just failed.
[[noreturn]] void fail(const QString &fileName, Access access);

// A write that the disk took only in part (full, over quota, over the size limit).
QString incompleteWrite();

// Whether an error number of writing means the disk took only part (or none: no number at all).
bool tookOnlyPart(int error);

// The reason for an error number while writing: a full disk says so in the editor's words.
QString writeReason(int error);

// Raises FileError for a folder, pipe, device or socket where a file is expected.
void refuseAllButFiles(const QString &fileName, mode_t mode);

// Writes all of data at the offset; false where the file took less (errno says why, if anything).
bool writeAllAt(int fd, const char *data, qint64 size, qint64 at);

// Syncs a folder, so that the names made or changed in it survive a power cut; false where that failed.
bool syncFolder(const QString &folder);

} // namespace SystemCalls
