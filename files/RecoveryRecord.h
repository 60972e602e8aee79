#pragma once
// The record of a run's drawing in the state folder, from which the next start rebuilds it should
// the editor die before the user ends it.

#include "files/DiskFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// One completed action, as the window's own operations replay it.
struct RecoveryEntry
{
    enum class Kind : std::uint8_t {
        Emptied = 1, // the drawing emptied (New, Open)
        Titled,      // title and the save dialog's file after New, Open, Save As, Save
        Read,        // a drawing read from a file, which the record names instead of copying it
        Placed,      // one of the placement operations, with what it takes from the window
        Undone,
        Colour,      // the colour for new shapes
        BackColour,
    };
    enum class Placement : std::uint8_t { Punkt = 1, Linie, Rechteck, Kreis, Text };

    Kind kind = Kind::Emptied;
    Placement placement = Placement::Punkt;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::int32_t color = 0; // the colour placed with, or the colour set
    QString text, font;     // a text's, and the title with Titled
    float fontSize = 0;
    QString fileName;    // Titled and Read
    bool saved = false;  // Titled: the drawing is in that file now
    DiskFile::Stamp stamp; // Read: the file as it was read

    bool operator==(const RecoveryEntry &) const = default;
};

class RecoveryRecord
{
public:
    // A new record of this run in folder, locked while it lives, synced in the background within
    // a second of each change. Raises FileError.
    explicit RecoveryRecord(const QString &folder);
    // Closes the record and leaves it for the next start.
    ~RecoveryRecord();
    RecoveryRecord(const RecoveryRecord &) = delete;
    RecoveryRecord &operator=(const RecoveryRecord &) = delete;

    const QString &fileName() const { return m_fileName; }

    // Adds an entry; on the page cache at once, so a killed editor loses nothing of it. Raises
    // FileError.
    void append(const RecoveryEntry &entry);
    // Starts the record afresh: what came before does not make the drawing any more.
    void restart();
    // The run ends as the user chose: nothing is left.
    void remove();

    struct Contents
    {
        QList<RecoveryEntry> entries; // every entry before the first damaged one
        bool damaged = false;         // the record ends in something that is no whole entry
        // Whether the drawing changed since it was last read or saved: only then is there
        // something to bring back.
        bool unsaved() const;
        // The title of the window after the last entry.
        QString title() const;
    };
    static Contents parse(const QByteArray &bytes);
    static QByteArray encode(const RecoveryEntry &entry);

    // The records of runs that died (unlocked), newest first, each taken with its lock held until
    // it is dropped or left; a running editor's are never touched.
    class Left
    {
    public:
        Left(QString fileName, int fd) : m_fileName(std::move(fileName)), m_fd(fd) {}
        Left(Left &&other) noexcept;
        Left &operator=(Left &&) = delete;
        ~Left();
        const QString &fileName() const { return m_fileName; }
        // Reads the record. Raises FileError.
        QByteArray bytes() const;
        // Removes it.
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
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_dirty = false;
    bool m_stopping = false;
    std::thread m_syncer;
};
