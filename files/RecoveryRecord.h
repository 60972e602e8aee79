#pragma once
// The record of a run's drawing in the state folder, from which the next start rebuilds it should
// the editor die before the user ends it.

#include "files/RecoveryEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class RecoveryRecord
{
public:
    // A new record of this run in folder, locked while it lives, synced in the background within
    // a second of each change. Raises FileError.
    explicit RecoveryRecord(const QString &folder);
    // Closes the record and leaves it for the next start.
    ~RecoveryRecord();

    const QString &fileName() const { return m_fileName; }

    // Adds an entry; on the page cache at once, so a killed editor loses nothing of it, or with
    // the rest of its action. Raises FileError.
    void append(const RecoveryEntry &entry);
    // The entries between these (which nest) are one action, written together: a record cut
    // inside it gives none of them.
    void beginAction() { ++m_depth; }
    void endAction();
    // Writes the entries of the action so far. Raises FileError.
    void flush();
    // The run ends as the user chose: nothing is left.
    void remove();

    // Where the record keeps its own copy of the file its drawing was read from.
    QString baseCopyName() const;
    // A save over fileName follows: where that is the file the drawing was read from, the record
    // keeps a copy of it to read instead, since the file will not hold that drawing any more.
    // Raises FileError.
    void keepReadFile(const QString &fileName);

    struct Contents
    {
        QList<RecoveryEntry> entries; // every entry of the actions before the first damaged one
        bool damaged = false;         // the record ends in something that is no whole action
        // Whether the drawing changed since it was last read or saved: only then is there
        // something to bring back.
        bool unsaved() const;
        // The title of the window after the last entry.
        QString title() const;
        // The file to read for the drawing's Read entry, and how it must be: the file read, or
        // the copy that stands in for it. None where the drawing was not read from a file.
        std::optional<RecoveryEntry> readFile() const;
    };
    static Contents parse(const QByteArray &bytes);
    // How every record starts.
    static QByteArray header();
    // One action of the given entries, as the record holds it.
    static QByteArray encode(const QList<RecoveryEntry> &entries);

    // The records of runs that died (unlocked), newest first, each taken with its lock held until
    // it is dropped or left; a running editor's are never touched.
    class Left
    {
    public:
        Left(QString fileName, int fd) : m_fileName(std::move(fileName)), m_fd(fd) {}
        Left(Left &&other) noexcept;
        ~Left();
        const QString &fileName() const { return m_fileName; }
        // Reads the record. Raises FileError.
        QByteArray bytes() const;
        // Removes it, with its copy of the file read.
        void drop();

    private:
        QString m_fileName;
        int m_fd = -1;
    };
    static std::vector<Left> takeLeft(const QString &folder);

private:
    void syncInBackground();

    QString m_fileName;
    int m_fd = -1;
    qint64 m_size = 0;
    int m_depth = 0;
    QByteArray m_pending;                // the entries of the action under way
    std::optional<RecoveryEntry> m_read; // the drawing's Read entry, as readFile() gives it
    // The entries since the drawing was last emptied or read, while what came before can still
    // matter (Undo right after New or Open brings back the drawing before): the first placement
    // then lets the record start afresh with them.
    QList<RecoveryEntry> m_sinceBase;
    bool m_baseOnly = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_dirty = false;
    bool m_stopping = false;
    std::thread m_syncer;
};
