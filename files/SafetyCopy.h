#pragma once
// A complete copy of a file that is about to be overwritten in place, kept until the new text is on
// disk, and told to the next start of the editor should this one die before.

#include <QList>
#include <QString>

class SafetyCopy
{
public:
    // Copies the first `size` bytes of the open file fd, beside it where its folder takes a new
    // file, else in the state folder, and records in the state folder which file it belongs to;
    // both synced before this returns. Raises FileError, leaving nothing behind.
    SafetyCopy(const QString &fileName, int fd, qint64 size);
    // Removes the copy and its record, unless kept.
    ~SafetyCopy();
    SafetyCopy(const SafetyCopy &) = delete;
    SafetyCopy &operator=(const SafetyCopy &) = delete;

    // Writes the copy back over the file fd and cuts it to its old size; false where that failed.
    bool restore(int fd) const;
    // Leaves the copy and its record for the next start; returns the copy's name.
    QString keep();

    // What a file overwritten when an editor died, and the copy of its old text.
    struct LeftBehind
    {
        QString fileName;
        QString copyName;
    };
    // The copies of editors that died while overwriting a file, each reported once. The records of
    // editors still running are left alone; a copy that was not complete (so its file was not
    // touched yet) is removed with its record.
    static QList<LeftBehind> takeLeftBehind();

private:
    QString m_copyName;
    QString m_recordName;
    qint64 m_size = 0;
    int m_record = -1; // open and locked while the file is overwritten
    bool m_kept = false;

    void openRecord(const QString &stateFolder);
    bool writeRecord(const QByteArray &content);
    bool copyInto(const QString &folder, const QString &fileName, int fd, int &error);
};
